# The Debian package: cpack -G DEB --config <build>/CPackConfig.cmake
#
# The application directory installs as it is into /opt/taskgate: the
# front-end finds its plug-ins, Grafica/ and user/ beside its executable and
# writes NOMIDIT/ there, and plug-ins of the suite are dropped in beside it.
# Only the package adds what a system installation needs around it (the
# component "system", which a plain cmake --install leaves out):
#   /usr/bin/taskgate, /usr/bin/taskgate-setup     links to the executables
#   /usr/share/applications, /usr/share/icons      links to the desktop entry and icons
#   /var/opt/taskgate/user, /var/opt/taskgate/NOMIDIT/USERCFG
#                                                  what the program and
#                                                  taskgate-setup write, linked
#                                                  from /opt/taskgate/user and
#                                                  /opt/taskgate/NOMIDIT
# The links are relative, so the package also works unpacked below another
# root (dpkg -x).

set(TASKGATE_PACKAGE_PREFIX /opt/taskgate)
set(TASKGATE_PACKAGE_DATA /var/opt/taskgate)

set(_links ${CMAKE_BINARY_DIR}/package-links)
# link <name in the package> <target, relative to the link's directory> <directory in the package>
function(taskgate_package_link directory name target)
  string(MAKE_C_IDENTIFIER "${directory}" subdir)
  file(MAKE_DIRECTORY ${_links}/${subdir})
  file(CREATE_LINK ${target} ${_links}/${subdir}/${name} SYMBOLIC)
  install(FILES ${_links}/${subdir}/${name} DESTINATION ${directory} COMPONENT system EXCLUDE_FROM_ALL)
endfunction()

foreach(program taskgate taskgate-setup)
  taskgate_package_link(/usr/bin ${program} ../..${TASKGATE_PACKAGE_PREFIX}/${program})
endforeach()
taskgate_package_link(/usr/share/applications taskgate.desktop
  ../../..${TASKGATE_PACKAGE_PREFIX}/share/applications/taskgate.desktop)
foreach(size IN LISTS TASKGATE_ICON_SIZES)
  taskgate_package_link(/usr/share/icons/hicolor/${size}x${size}/apps taskgate.png
    ../../../../../..${TASKGATE_PACKAGE_PREFIX}/share/icons/hicolor/${size}x${size}/apps/taskgate.png)
endforeach()
foreach(directory user NOMIDIT)
  taskgate_package_link(${TASKGATE_PACKAGE_PREFIX} ${directory} ../..${TASKGATE_PACKAGE_DATA}/${directory})
endforeach()
install(DIRECTORY DESTINATION ${TASKGATE_PACKAGE_DATA}/user COMPONENT system EXCLUDE_FROM_ALL)
install(DIRECTORY DESTINATION ${TASKGATE_PACKAGE_DATA}/NOMIDIT/USERCFG COMPONENT system EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME taskgate)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Taskgate)
set(CPACK_PACKAGE_CONTACT "Taskgate developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop front-end of a modular business suite")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Desktop front-end of a modular business suite\n"
  "Logs a user in, shows the programs of the user's project and launches\n"
  "functions that live in plug-in libraries, keeping sessions, call log,\n"
  "window semaphores and parameters in Firebird databases shared with the\n"
  "suite's other programs. With the demo plug-ins, taskgate-setup (creates\n"
  "the suite's databases, locally or on a Firebird server) and the plug-in\n"
  "SDK (header, CMake and pkg-config package).")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX ${TASKGATE_PACKAGE_PREFIX})
set(CPACK_STRIP_FILES ON)

# The libraries the executables and plug-ins link (Qt 6, the Firebird
# client, the C++ runtime) come from dpkg-shlibdeps; among them libqt6gui6,
# which also holds Qt's platform plug-ins (xcb, offscreen). What is loaded at
# run time without being linked is named here: the embedded Firebird engine
# that opens local databases.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "firebird3.0-server-core")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "firebird3.0-server, firebird3.0-utils")

set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/cmake/debian/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

# One package with the application directory and the system component.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL Unspecified system)

include(CPack)
