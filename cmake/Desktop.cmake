# Desktop integration: the desktop entry and the application icon in the
# hicolor theme, installed below share/ of the prefix (the Debian package
# links them into /usr/share), and the same icon compiled into the program
# for its windows.

set(TASKGATE_ICON_SIZES 16 22 24 32 48 64 128 256)
install(FILES ${CMAKE_SOURCE_DIR}/assets/taskgate.desktop DESTINATION share/applications)
set(TASKGATE_ICON_RESOURCES)
foreach(size IN LISTS TASKGATE_ICON_SIZES)
  set(icon ${size}x${size}/apps/taskgate.png)
  install(FILES ${CMAKE_SOURCE_DIR}/assets/icons/hicolor/${icon} DESTINATION share/icons/hicolor/${size}x${size}/apps)
  list(APPEND TASKGATE_ICON_RESOURCES ${CMAKE_SOURCE_DIR}/assets/icons/hicolor/${icon})
endforeach()

# The window icon: ":/taskgate/<size>x<size>/apps/taskgate.png".
if(TARGET taskgate)
  qt_add_resources(taskgate taskgate_icon
    PREFIX /taskgate
    BASE ${CMAKE_SOURCE_DIR}/assets/icons/hicolor
    FILES ${TASKGATE_ICON_RESOURCES})
endif()
