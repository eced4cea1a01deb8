# taskgate_folder_library(name sources...)
# One library of a folder of src/. Its headers are included as "folder/Name.h"
# from the source root, which the library declares for itself and for what
# links it. Which folder may include which is checked by
# scripts/check-includes.py (the test include_order).
function(taskgate_folder_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()

# taskgate_check_widget_free(targets...)
# Fails the configuration when one of the targets reaches Qt Widgets through
# what it links: the widget-free halves must stay usable without a window.
function(taskgate_check_widget_free)
  foreach(target IN LISTS ARGN)
    set(pending ${target})
    set(seen)
    while(pending)
      list(POP_FRONT pending current)
      if(current IN_LIST seen OR NOT TARGET ${current})
        continue()
      endif()
      list(APPEND seen ${current})
      if(current STREQUAL "Qt6::Widgets" OR current STREQUAL "Qt::Widgets")
        message(FATAL_ERROR "${target} links Qt Widgets (through what it links); it must stay widget-free")
      endif()
      get_target_property(links ${current} INTERFACE_LINK_LIBRARIES)
      if(links)
        list(APPEND pending ${links})
      endif()
    endwhile()
  endforeach()
endfunction()
