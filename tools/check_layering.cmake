# Fails when a folder reaches into a layer it must not know:
# - base/ includes a header of any other folder;
# - engine/ includes a Windows header outside its Win32 files (*_win.cpp)
#   and the slice-size dialog (Unit3.*), or a header of toolkit/, caption/,
#   toolbar/, app/ or cli/ (the dialog may use the toolkit and caption's unit
#   Wordcap.h);
# - toolkit/ includes a header of engine/, caption/, toolbar/, app/ or cli/;
# - caption/ and toolbar/ include a header of engine/, app/, cli/ or of each
#   other;
# - cli/ includes a header of app/, toolkit/, caption/ or toolbar/;
# - in a component that follows the naming rule (README, "Files and names"),
#   a Windows header is included by a file that is neither a unit (a
#   capitalised name: Wordcap.h, TB97Tlbr.cpp; app's sorv and filedrag) nor
#   a Win32 internal (*_win.*).
# cmake -DSOURCE_DIR=<the tree> -P check_layering.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT SOURCE_DIR)
  message(FATAL_ERROR "check_layering: SOURCE_DIR not given")
endif()
# A relative tree would find no header and pass every include.
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)

set(windows_headers windows.h windowsx.h winuser.h wingdi.h commctrl.h commdlg.h shellapi.h shlobj.h)
# The components held to the naming rule, and the units the design names in
# lower case.
set(named_components caption toolbar app)
set(lower_case_units "^(sorv|filedrag)\\.(h|cpp)$")

foreach(dir base engine cli toolkit caption toolbar app)
  file(GLOB headers_${dir} RELATIVE ${SOURCE_DIR}/${dir} ${SOURCE_DIR}/${dir}/*.h)
endforeach()

set(violations 0)

# check(DIR FORBIDDEN...): every file of DIR against the headers of the
# FORBIDDEN folders; a quoted name found beside the file or in base/ is its own,
# and so is one the file is allowed across the layers.
function(check dir)
  file(GLOB files ${SOURCE_DIR}/${dir}/*.h ${SOURCE_DIR}/${dir}/*.cpp)
  list(SORT files)
  foreach(file ${files})
    get_filename_component(name ${file} NAME)
    set(forbidden ${ARGN})
    set(windows_allowed TRUE)
    set(allowed_across "")
    if(dir IN_LIST named_components AND NOT name MATCHES "^[A-Z]" AND NOT name MATCHES "${lower_case_units}"
       AND NOT name MATCHES "_win\\.(h|cpp)$")
      set(windows_allowed FALSE)
    endif()
    if(dir STREQUAL "engine")
      set(windows_allowed FALSE)
      if(name MATCHES "_win\\.cpp$" OR name MATCHES "^Unit3\\.")
        set(windows_allowed TRUE)
      endif()
      if(name MATCHES "^Unit3\\.")
        list(REMOVE_ITEM forbidden toolkit)
        set(allowed_across Wordcap.h)
      endif()
    endif()
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${includes})
      if(line MATCHES "<([^>]+)>")
        string(TOLOWER "${CMAKE_MATCH_1}" system)
        if(NOT windows_allowed AND system IN_LIST windows_headers)
          message("${dir}/${name} includes <${CMAKE_MATCH_1}>")
          math(EXPR violations "${violations} + 1")
        endif()
      elseif(line MATCHES "\"([^\"]+)\"")
        get_filename_component(header "${CMAKE_MATCH_1}" NAME)
        if(header IN_LIST headers_${dir} OR header IN_LIST headers_base OR header IN_LIST allowed_across)
          continue()
        endif()
        foreach(layer ${forbidden})
          if(header IN_LIST headers_${layer})
            message("${dir}/${name} includes ${layer} header \"${header}\"")
            math(EXPR violations "${violations} + 1")
          endif()
        endforeach()
      endif()
    endforeach()
  endforeach()
  set(violations ${violations} PARENT_SCOPE)
endfunction()

check(engine toolkit caption toolbar app cli)
check(toolkit engine caption toolbar app cli)
check(caption engine toolbar app cli)
check(toolbar engine caption app cli)
check(app cli)
check(cli app toolkit caption toolbar)
check(base engine cli toolkit caption toolbar app)

if(violations GREATER 0)
  message(FATAL_ERROR "check_layering: ${violations} include(s) across the layers")
endif()
