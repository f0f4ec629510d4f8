// One measurement per benchmark name, ordered by name bytes.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace quarv::detail {

struct Metric {
    double reading = 0;
    double spread = 0;
    bool operator==(const Metric&) const = default;
};

class MetricMap {
public:
    // Stores the metric under `name`, replacing an earlier one of the same name.
    void insert_metric(std::string_view name, double reading, double spread);
    const std::map<std::string, Metric, std::less<>>& entries() const noexcept { return m_entries; }
    // One "name: reading (+/- spread)\n" line per metric, in name order, the figures
    // written like benchmark lines ("sum_1000: 1,234.50 (+/- 12.00)"). Empty map: "".
    std::string fmt_metrics() const;

private:
    std::map<std::string, Metric, std::less<>> m_entries;
};

}  // namespace quarv::detail
