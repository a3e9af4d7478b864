# The include rule of docs/architecture.md, checked (cmake -P):
#   - a folder named ui/, mainwin/ and the window program's own files in app/
#     may include anything;
#   - a folder named qt/ and t27ctl's link helper in app/ may include Qt, but
#     no Qt Widgets or Qt GUI header;
#   - every other folder is Qt-free: no Qt header at all.
# SOURCE_DIR is the project; QT_WINDOW_HEADER_DIRS (optional, a list) the
# folders of Qt's Widgets and GUI headers, which name the classes a qt/
# folder may not use; without them <QtWidgets/...>, <QtGui/...> and the
# module headers are still caught.
# Exits with an error naming every offending line.
cmake_minimum_required(VERSION 3.22)
set(layer_dirs common protocol edid analyser generator cable settings sim mainwin app)
# The window program's main and the pages it installs.
set(window_program_files app/controller_main.cpp app/install_pages.cpp app/install_pages.h)

string(REPLACE "|" ";" QT_WINDOW_HEADER_DIRS "${QT_WINDOW_HEADER_DIRS}")
set(offences "")
foreach(layer ${layer_dirs})
  file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}"
       "${SOURCE_DIR}/${layer}/*.h" "${SOURCE_DIR}/${layer}/*.cpp" "${SOURCE_DIR}/${layer}/*.in")
  foreach(source ${sources})
    if(source MATCHES "(^|/)ui/" OR source MATCHES "^mainwin/" OR source IN_LIST window_program_files)
      continue()
    endif()
    if(source MATCHES "(^|/)qt/" OR source MATCHES "^app/")
      set(room qt)
    else()
      set(room free)
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*$" "\\1" header "${line}")
      set(bad FALSE)
      if(room STREQUAL free)
        set(bad TRUE)
      elseif(header MATCHES "^Qt(Widgets|Gui)(/|$)")
        set(bad TRUE)
      else()
        foreach(dir ${QT_WINDOW_HEADER_DIRS})
          if(EXISTS "${dir}/${header}")
            set(bad TRUE)
          endif()
        endforeach()
      endif()
      if(bad)
        string(STRIP "${line}" line)
        if(room STREQUAL free)
          list(APPEND offences "${source}: ${line} (a Qt-free folder)")
        else()
          list(APPEND offences "${source}: ${line} (Qt Widgets/GUI outside ui/ and mainwin/)")
        endif()
      endif()
    endforeach()
  endforeach()
endforeach()

if(offences)
  list(JOIN offences "\n  " text)
  message(FATAL_ERROR "Includes against the layers (docs/architecture.md):\n  ${text}")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()
