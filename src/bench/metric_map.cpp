#include "bench/metric_map.hpp"

#include "bench/fmt_bench.hpp"

namespace quarv::detail {

// A name seen before keeps its stored key; only the metric is replaced.
void MetricMap::insert_metric(std::string_view name, double reading, double spread) {
    auto found = m_entries.find(name);
    if (found != m_entries.end()) {
        found->second = Metric{reading, spread};
        return;
    }
    m_entries.emplace(std::string(name), Metric{reading, spread});
}

std::string MetricMap::fmt_metrics() const {
    std::string out;
    for (const auto& [name, metric] : m_entries) {
        out += name;
        out += ": ";
        out += fmt_thousands_sep(metric.reading);
        out += " (+/- ";
        out += fmt_thousands_sep(metric.spread);
        out += ")\n";
    }
    return out;
}

}  // namespace quarv::detail
