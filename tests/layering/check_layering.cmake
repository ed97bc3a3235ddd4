# Checks that tovalin_core cannot use widgets: the probe that includes <QWidget> fails to
# compile for want of the header (not for any other reason), and no core source names a
# widget or printer-support module or a ui header.
execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target layering_probe
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(rc EQUAL 0)
  message(FATAL_ERROR "a core file compiled with a widget header:\n${out}")
endif()
if(NOT out MATCHES "QWidget: No such file or directory")
  message(FATAL_ERROR "the probe failed, but not for want of the widget header:\n${out}")
endif()

set(core_areas platform app layout postcard label preview)
set(bad "")
foreach(area IN LISTS core_areas)
  file(GLOB sources ${SOURCE_DIR}/${area}/*.h ${SOURCE_DIR}/${area}/*.cpp)
  foreach(f IN LISTS sources)
    file(STRINGS ${f} hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](QtWidgets/|QtPrintSupport/|[a-z]+/ui/|controls/)")
    foreach(h IN LISTS hits)
      string(APPEND bad "${f}: ${h}\n")
    endforeach()
  endforeach()
endforeach()
if(bad)
  message(FATAL_ERROR "core sources include widget code:\n${bad}")
endif()
message(STATUS "tovalin_core sees no widgets")
