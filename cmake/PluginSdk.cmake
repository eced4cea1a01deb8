# The plug-in SDK as an installed package: the header, a CMake package
# (find_package(TaskgateSDK) gives the header-only target Taskgate::PluginSdk)
# and a pkg-config file (taskgate-sdk). Both are arch-independent and go below
# share/ of the installation prefix, the header below include/.
#
# The package's version is the interface version of the header, read from
# its macros, so that it is written down in one place.

include(CMakePackageConfigHelpers)

set(TASKGATE_SDK_HEADER ${CMAKE_SOURCE_DIR}/include/taskgate/plugin.h)
file(STRINGS ${TASKGATE_SDK_HEADER} _sdk_major REGEX "^#define TASKGATE_PLUGIN_API_VERSION_MAJOR [0-9]+$")
file(STRINGS ${TASKGATE_SDK_HEADER} _sdk_minor REGEX "^#define TASKGATE_PLUGIN_API_VERSION_MINOR [0-9]+$")
string(REGEX REPLACE ".* " "" _sdk_major "${_sdk_major}")
string(REGEX REPLACE ".* " "" _sdk_minor "${_sdk_minor}")
if(_sdk_major STREQUAL "" OR _sdk_minor STREQUAL "")
  message(FATAL_ERROR "No TASKGATE_PLUGIN_API_VERSION_MAJOR/MINOR in ${TASKGATE_SDK_HEADER}")
endif()
set(TASKGATE_SDK_VERSION "${_sdk_major}.${_sdk_minor}")

set(TASKGATE_SDK_INCLUDE_DIR include)
set(TASKGATE_SDK_CMAKE_DIR share/cmake/TaskgateSDK)
set(TASKGATE_SDK_PKGCONFIG_DIR share/pkgconfig)

add_library(taskgate_plugin_sdk INTERFACE)
set_target_properties(taskgate_plugin_sdk PROPERTIES EXPORT_NAME PluginSdk)
target_include_directories(taskgate_plugin_sdk INTERFACE
  $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}/include>
  $<INSTALL_INTERFACE:${TASKGATE_SDK_INCLUDE_DIR}>)
# The host services are looked up with dlsym().
target_link_libraries(taskgate_plugin_sdk INTERFACE ${CMAKE_DL_LIBS})
add_library(Taskgate::PluginSdk ALIAS taskgate_plugin_sdk)

install(TARGETS taskgate_plugin_sdk EXPORT TaskgateSDKTargets)
install(FILES ${TASKGATE_SDK_HEADER} DESTINATION ${TASKGATE_SDK_INCLUDE_DIR}/taskgate)
install(EXPORT TaskgateSDKTargets NAMESPACE Taskgate:: DESTINATION ${TASKGATE_SDK_CMAKE_DIR})

# What the package tells a plug-in's build besides the target: where the
# front-end looks for plug-ins, and the Qt the front-end was built with (a
# plug-in that opens windows shares the front-end's Qt libraries).
set(TASKGATE_SDK_PLUGIN_DIR ${TASKGATE_INSTALL_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/TaskgateSDKConfig.cmake.in
  ${CMAKE_BINARY_DIR}/sdk/TaskgateSDKConfig.cmake
  INSTALL_DESTINATION ${TASKGATE_SDK_CMAKE_DIR}
  PATH_VARS TASKGATE_SDK_PLUGIN_DIR TASKGATE_SDK_INCLUDE_DIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/sdk/TaskgateSDKConfigVersion.cmake
  VERSION ${TASKGATE_SDK_VERSION}
  COMPATIBILITY SameMajorVersion
  ARCH_INDEPENDENT)
set(TASKGATE_SDK_PC_LIBS "")
foreach(lib IN LISTS CMAKE_DL_LIBS)
  string(APPEND TASKGATE_SDK_PC_LIBS " -l${lib}")
endforeach()
string(STRIP "${TASKGATE_SDK_PC_LIBS}" TASKGATE_SDK_PC_LIBS)
configure_file(${CMAKE_SOURCE_DIR}/cmake/taskgate-sdk.pc.in ${CMAKE_BINARY_DIR}/sdk/taskgate-sdk.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/sdk/TaskgateSDKConfig.cmake ${CMAKE_BINARY_DIR}/sdk/TaskgateSDKConfigVersion.cmake
  DESTINATION ${TASKGATE_SDK_CMAKE_DIR})
install(FILES ${CMAKE_BINARY_DIR}/sdk/taskgate-sdk.pc DESTINATION ${TASKGATE_SDK_PKGCONFIG_DIR})
