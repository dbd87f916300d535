# The suite's name, vendor and version as every program's version resource and the installer
# carry them. The version number itself is the project's (top-level project() call).
set(LUMIVANE_COMPANY "澜图软件")
set(LUMIVANE_PRODUCT "澜图工具集")
set(LUMIVANE_COPYRIGHT "版权所有 (C) 2008-2009 澜图软件")
set(LUMIVANE_VERSION_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/VersionInfo.rc.in)

# lumivane_version_resource(<target> <description> [FILE_VERSION a.b.c.d])
# Gives the program a version resource with the suite's product version. Its file version is
# the suite's too unless the program keeps one of its own.
function(lumivane_version_resource target description)
  cmake_parse_arguments(V "" "FILE_VERSION" "" ${ARGN})
  set(FILE_VERSION_TEXT ${PROJECT_VERSION})
  if(V_FILE_VERSION)
    set(FILE_VERSION_TEXT ${V_FILE_VERSION})
  endif()
  set(PRODUCT_VERSION_TEXT ${PROJECT_VERSION})
  foreach(kind FILE PRODUCT)
    if(NOT ${kind}_VERSION_TEXT MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+$")
      message(FATAL_ERROR "${target}: a version has four numbers, got '${${kind}_VERSION_TEXT}'")
    endif()
    string(REPLACE "." ", " ${kind}_VERSION_NUMBERS ${${kind}_VERSION_TEXT})
  endforeach()
  set(PROGRAM_NAME ${target})
  set(PROGRAM_DESCRIPTION ${description})
  set(resource ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${LUMIVANE_VERSION_TEMPLATE} ${resource} @ONLY)
  target_sources(${target} PRIVATE ${resource})
  # The installer names the program's shortcut with the same text.
  set_target_properties(${target} PROPERTIES LUMIVANE_DESCRIPTION ${description})
endfunction()
