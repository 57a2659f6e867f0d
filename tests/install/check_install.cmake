# cmake -DBUILD_DIR=... -DPREFIX=... -P check_install.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

foreach(file bin/talveron bin/talveron-cli bin/talveron-vradio
             share/talveron/ReadMe.Txt
             share/talveron/samples/vk-a1-16ch.cfg share/talveron/samples/vk-a2-16ch.cfg
             share/applications/talveron.desktop
             share/icons/hicolor/scalable/apps/talveron.svg
             share/mime/packages/talveron-cfg.xml)
  if(NOT EXISTS "${PREFIX}/${file}")
    message(FATAL_ERROR "not installed: ${file}")
  endif()
endforeach()

# The entry opens the files it is given with the installed program, under the program's icon,
# for the .cfg type the file type description declares.
file(READ "${PREFIX}/share/applications/talveron.desktop" entry)
file(READ "${PREFIX}/share/mime/packages/talveron-cfg.xml" mime)
foreach(pair "entry|Exec=talveron %F" "entry|Icon=talveron" "entry|MimeType=application/x-talveron-cfg;"
             "mime|type=\"application/x-talveron-cfg\"" "mime|<glob pattern=\"*.cfg\"/>")
  string(REPLACE "|" ";" pair "${pair}")
  list(GET pair 0 name)
  list(GET pair 1 text)
  string(FIND "${${name}}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${name} lacks ${text}")
  endif()
endforeach()

execute_process(COMMAND "${PREFIX}/bin/talveron-cli" show "${PREFIX}/share/talveron/samples/vk-a1-16ch.cfg"
                RESULT_VARIABLE status OUTPUT_VARIABLE shown)
string(FIND "${shown}" "Model:VK-A1" at)
if(NOT status EQUAL 0 OR at EQUAL -1)
  message(FATAL_ERROR "the installed talveron-cli does not run: ${status} ${shown}")
endif()
