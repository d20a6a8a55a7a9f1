# Gathers every text the program looks up and hands them to lupdate, which
# merges them into the translation files given.
#   cmake -DSOURCE_DIR=... -DWORK_DIR=... -DLUPDATE=... -DTS_FILES="a.ts|b.ts" [-DFRESH=ON] -P Extract.cmake
#
# The program looks its texts up with localized("...") and
# localizedFormat("...", {...}) in the context "Pintaro". lupdate would file
# them under the enclosing class, so each call's English text is copied here
# into a QT_TRANSLATE_NOOP that names the context. Texts kept in tables and
# looked up later are marked with QT_TRANSLATE_NOOP("Pintaro", ...) where
# they are written; lupdate reads those from the sources themselves.
foreach(required SOURCE_DIR WORK_DIR LUPDATE TS_FILES)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "Extract.cmake needs -D${required}=...")
  endif()
endforeach()

string(REPLACE "|" ";" TS_FILES "${TS_FILES}")

file(GLOB_RECURSE files
  ${SOURCE_DIR}/Classes/*.cpp ${SOURCE_DIR}/Classes/*.h ${SOURCE_DIR}/platform/*.cpp ${SOURCE_DIR}/platform/*.h)
list(APPEND files ${SOURCE_DIR}/main.cpp)
list(FILTER files EXCLUDE REGEX "/platform/ui/Localized\\.(h|cpp)$")
list(SORT files)

set(literal "\"([^\"\\\\]|\\\\.)*\"")
set(space "[ \t\r\n]*")
set(call "localized(Format)?\\(${space}${literal}(${space}${literal})*")
set(generated "// Made by translations/Extract.cmake from the program's text lookups.\n")
foreach(file IN LISTS files)
  file(READ ${file} content)
  # Semicolons and brackets would split or glue CMake's list items; they are
  # hidden while the calls are matched.
  string(REPLACE ";" "@SEMICOLON@" content "${content}")
  string(REPLACE "[" "@OPEN@" content "${content}")
  string(REPLACE "]" "@CLOSE@" content "${content}")
  string(REGEX MATCHALL "${call}" calls "${content}")
  foreach(match IN LISTS calls)
    string(REGEX REPLACE "^localized(Format)?\\(${space}" "" text "${match}")
    string(REPLACE "@SEMICOLON@" ";" text "${text}")
    string(REPLACE "@OPEN@" "[" text "${text}")
    string(REPLACE "@CLOSE@" "]" text "${text}")
    string(APPEND generated "QT_TRANSLATE_NOOP(\"Pintaro\", ${text});\n")
  endforeach()
endforeach()

file(MAKE_DIRECTORY ${WORK_DIR})
if(FRESH)
  # A list of the texts alone, with no translation carried over.
  file(REMOVE ${TS_FILES})
endif()
set(calls_file ${WORK_DIR}/LookedUpTexts.cpp)
file(WRITE ${calls_file}.new "${generated}")
file(COPY_FILE ${calls_file}.new ${calls_file} ONLY_IF_DIFFERENT)

execute_process(
  COMMAND ${LUPDATE} -silent -locations none -no-obsolete -source-language en ${calls_file} ${files} -ts ${TS_FILES}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
# lupdate remarks on C++ it does not follow; they matter only when it fails.
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lupdate failed (${status}):\n${output}")
endif()
