# The Debian package: `cpack -G DEB` in the build folder makes vantrel_VERSION_amd64.deb
# with the three programs, the desktop entry and icon, man pages made from each
# program's --help, the bash completion and the sounds. Its dependencies are
# computed from the programs' libraries by dpkg-shlibdeps.
find_program(HELP2MAN help2man REQUIRED)
find_program(GZIP gzip REQUIRED)

set(VANTREL_MAINTAINER "Rudozi Vantrel maintainers <maintainers@vantrel.invalid>")
set(generated ${CMAKE_BINARY_DIR}/packaging)
# Dates in the package follow the last commit, so two builds of it are the same.
execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
                OUTPUT_VARIABLE source_epoch OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE git_failed ERROR_QUIET)
if(git_failed OR NOT source_epoch)
  set(source_epoch 0)
endif()
execute_process(COMMAND date -u -R -d @${source_epoch}
                OUTPUT_VARIABLE VANTREL_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${generated}/changelog @ONLY)

# Man pages: help2man runs each program's --help. vantrel is a Qt program; it
# prints its help without a display on the offscreen platform.
set(man_names
  "vantrel=configuration and service tool for motorised valve actuators"
  "vantrel-cli=the actuator tool from the command line, for scripts"
  "vantrel-sim=a simulated actuator on a pseudo-terminal")
set(package_files ${generated}/changelog.gz)
foreach(entry ${man_names})
  string(REPLACE "=" ";" parts "${entry}")
  list(GET parts 0 program)
  list(GET parts 1 summary)
  add_custom_command(OUTPUT ${generated}/${program}.1.gz
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen SOURCE_DATE_EPOCH=${source_epoch}
            ${HELP2MAN} --no-info --no-discard-stderr --version-string=${PROJECT_VERSION}
            --name=${summary} --output=${generated}/${program}.1 $<TARGET_FILE:${program}>
    COMMAND ${GZIP} -9nf ${generated}/${program}.1
    DEPENDS ${program}
    COMMENT "Man page of ${program}"
    VERBATIM)
  list(APPEND package_files ${generated}/${program}.1.gz)
endforeach()

add_custom_command(OUTPUT ${generated}/changelog.gz
  COMMAND sh -c "${GZIP} -9nc '${generated}/changelog' > '${generated}/changelog.gz'"
  DEPENDS ${generated}/changelog
  VERBATIM)
add_custom_command(OUTPUT ${generated}/vantrel-cli.bash
  COMMAND sh -c "'$<TARGET_FILE:vantrel-cli>' completion bash > '${generated}/vantrel-cli.bash'"
  DEPENDS vantrel-cli
  COMMENT "Bash completion of vantrel-cli"
  VERBATIM)
add_custom_command(OUTPUT ${generated}/vantrel.png
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
          $<TARGET_FILE:vantrel_make_icon> 128 ${generated}/vantrel.png
  DEPENDS vantrel_make_icon
  COMMENT "Icon of vantrel"
  VERBATIM)
list(APPEND package_files ${generated}/vantrel-cli.bash ${generated}/vantrel.png)
add_custom_target(vantrel_package_files ALL DEPENDS ${package_files})

install(TARGETS vantrel vantrel-cli vantrel-sim RUNTIME DESTINATION bin)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/vantrel.desktop DESTINATION share/applications)
install(FILES ${generated}/vantrel.png DESTINATION share/icons/hicolor/128x128/apps)
install(FILES ${generated}/vantrel.1.gz ${generated}/vantrel-cli.1.gz
              ${generated}/vantrel-sim.1.gz DESTINATION share/man/man1)
install(FILES ${generated}/vantrel-cli.bash DESTINATION share/bash-completion/completions
        RENAME vantrel-cli)
install(FILES ${CMAKE_SOURCE_DIR}/app/qt/resources/menu.wav
              ${CMAKE_SOURCE_DIR}/app/qt/resources/end.wav
              ${CMAKE_SOURCE_DIR}/app/qt/resources/critical.wav
        DESTINATION share/vantrel/sounds)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${generated}/changelog.gz
        DESTINATION share/doc/vantrel)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vantrel)
set(CPACK_PACKAGE_VENDOR "Rudozi Vantrel")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${VANTREL_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "configuration and service tool for motorised valve actuators")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads and edits an actuator's configuration over an infrared serial adapter,\n"
    "copies it to and from image files, extracts the datalogger, shows diagnostics\n"
    "and calibrates the torque sensor. Includes a command line for scripts and a\n"
    "simulated actuator for training and tests.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_THREADS 2)
include(CPack)
