# Install rules: headers, the libraries, a CMake package and a pkg-config file.
#
#   cmake --install build --prefix /opt/quarv
#
# gives
#   include/quarv/*.hpp
#   lib/libquarv.a, lib/libquarv_main.a (and libquarv_main_isolated.a)
#   lib/cmake/quarv/quarvConfig.cmake, quarvConfigVersion.cmake, quarvTargets*.cmake,
#                   QuarvDiscoverTests.cmake, QuarvDiscoverTestsImpl.cmake
#   lib/pkgconfig/quarv.pc
#
# find_package(quarv CONFIG) then provides quarv::quarv, quarv::main,
# quarv::main_isolated and quarv_discover_tests(). Included at the end of the top-level
# CMakeLists.txt, after every installed target exists.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QUARV_INSTALL_CMAKEDIR "${CMAKE_INSTALL_LIBDIR}/cmake/quarv"
    CACHE STRING "Where quarv's CMake package files are installed, relative to the prefix")
mark_as_advanced(QUARV_INSTALL_CMAKEDIR)

# Installed names follow the build tree's aliases: quarv_main is quarv::main.
set(_quarv_install_targets quarv quarv_main)
set_target_properties(quarv_main PROPERTIES EXPORT_NAME main)
if(TARGET quarv_main_isolated)
  list(APPEND _quarv_install_targets quarv_main_isolated)
  set_target_properties(quarv_main_isolated PROPERTIES EXPORT_NAME main_isolated)
endif()

install(TARGETS ${_quarv_install_targets}
  EXPORT quarvTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/quarv
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}
  FILES_MATCHING PATTERN "*.hpp")

install(EXPORT quarvTargets
  NAMESPACE quarv::
  FILE quarvTargets.cmake
  DESTINATION ${QUARV_INSTALL_CMAKEDIR})

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/quarvConfig.cmake.in
  ${CMAKE_CURRENT_BINARY_DIR}/quarvConfig.cmake
  INSTALL_DESTINATION ${QUARV_INSTALL_CMAKEDIR}
  NO_SET_AND_CHECK_MACRO)
# Before 1.0 a minor release may change the API, so only the same major.minor matches.
write_basic_package_version_file(${CMAKE_CURRENT_BINARY_DIR}/quarvConfigVersion.cmake
  VERSION ${PROJECT_VERSION}
  COMPATIBILITY SameMinorVersion)

install(FILES
  ${CMAKE_CURRENT_BINARY_DIR}/quarvConfig.cmake
  ${CMAKE_CURRENT_BINARY_DIR}/quarvConfigVersion.cmake
  ${CMAKE_CURRENT_LIST_DIR}/QuarvDiscoverTests.cmake
  ${CMAKE_CURRENT_LIST_DIR}/QuarvDiscoverTestsImpl.cmake
  DESTINATION ${QUARV_INSTALL_CMAKEDIR})

# The .pc file finds the prefix from its own location, so it stays right when the tree
# is installed with `cmake --install --prefix` or moved afterwards. An absolute
# CMAKE_INSTALL_LIBDIR / INCLUDEDIR is written as it is.
set(_quarv_pc_dir "${CMAKE_INSTALL_LIBDIR}/pkgconfig")
if(IS_ABSOLUTE "${_quarv_pc_dir}")
  set(QUARV_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
  file(RELATIVE_PATH _quarv_pc_up "/quarv-prefix/${_quarv_pc_dir}" "/quarv-prefix")
  string(REGEX REPLACE "/$" "" _quarv_pc_up "${_quarv_pc_up}")
  set(QUARV_PC_PREFIX "\${pcfiledir}/${_quarv_pc_up}")
endif()
foreach(_quarv_dir LIBDIR INCLUDEDIR)
  if(IS_ABSOLUTE "${CMAKE_INSTALL_${_quarv_dir}}")
    set(QUARV_PC_${_quarv_dir} "${CMAKE_INSTALL_${_quarv_dir}}")
  else()
    set(QUARV_PC_${_quarv_dir} "\${prefix}/${CMAKE_INSTALL_${_quarv_dir}}")
  endif()
endforeach()
configure_file(${CMAKE_CURRENT_LIST_DIR}/quarv.pc.in ${CMAKE_CURRENT_BINARY_DIR}/quarv.pc @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/quarv.pc DESTINATION ${_quarv_pc_dir})
