# taskgate_folder_library(name sources...)
# One library of a folder of src/. Its headers are included as "folder/Name.h"
# from the source root, which the library declares for itself and for what
# links it. Which folder may include which is checked by
# scripts/check-includes.py (the test include_order).
function(taskgate_folder_library name)
  if(name IN_LIST TASKGATE_CORE_PARTS)
    # A part of the shared core library: its objects go into
    # libtaskgate-core.so, and what it links gives only include directories
    # and definitions; the code itself is linked once, through taskgate-core.
    # Only what its headers mark TASKGATE_CORE_EXPORT (taskgate_core_export.h,
    # made by generate_export_header) is seen outside the library.
    add_library(${name} OBJECT ${ARGN})
    set_target_properties(${name} PROPERTIES CXX_VISIBILITY_PRESET hidden)
    target_compile_definitions(${name} PRIVATE taskgate_core_EXPORTS)
    target_include_directories(${name} PUBLIC ${PROJECT_BINARY_DIR}/generated)
  else()
    add_library(${name} STATIC ${ARGN})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
endfunction()

# taskgate_core_libraries(out libs...)
# The libraries with each part of the core replaced by the core library
# itself (once), for everything outside the core: a program, a plug-in or a
# test links the core's code only through libtaskgate-core.so.
function(taskgate_core_libraries out)
  set(result)
  foreach(library IN LISTS ARGN)
    if(library IN_LIST TASKGATE_CORE_PARTS)
      set(library taskgate-core)
    endif()
    if(NOT library IN_LIST result OR NOT library STREQUAL "taskgate-core")
      list(APPEND result ${library})
    endif()
  endforeach()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# taskgate_link(target PUBLIC|PRIVATE libs...)
# target_link_libraries for a target outside the core, with the core's parts
# taken through the core library.
function(taskgate_link target scope)
  taskgate_core_libraries(libraries ${ARGN})
  target_link_libraries(${target} ${scope} ${libraries})
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
