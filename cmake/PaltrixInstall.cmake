# How a program joins the installation (and so the Debian package):
#
#   install(TARGETS my-program RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
#   paltrix_add_man_page(my-program "one line on what it does" [SUBCOMMANDS])  # command line
#   paltrix_add_desktop_entry(${PROJECT_SOURCE_DIR}/packaging/my-program.desktop)  # windowed
#   paltrix_add_written_man_page(${PROJECT_SOURCE_DIR}/packaging/my-program.1)  # no --help
#
# Any install() rule of any component ends up in the package; nothing else
# needs to be listed. Sanitizer builds are never packaged: there the helpers
# generate nothing, so no instrumented program runs during the build.
include(GNUInstallDirs)

if(NOT PALTRIX_SANITIZE)
  find_program(HELP2MAN_EXECUTABLE help2man)
  find_program(GZIP_EXECUTABLE gzip REQUIRED)
  if(NOT HELP2MAN_EXECUTABLE)
    message(WARNING "help2man not found: no man pages are built or installed (tools/install-deps.sh installs it)")
  endif()
endif()

# man page <name>.1.gz generated from the program's --help. The program is run
# under the name it is installed as (NAME, default: the target's), so its help
# shows that name. With SUBCOMMANDS, a COMMANDS section holds the --help of
# every subcommand its help lists (CLI11's "Subcommands:"), recursively.
function(paltrix_add_man_page target description)
  cmake_parse_arguments(PARSE_ARGV 2 arg "SUBCOMMANDS" "NAME" "")
  if(PALTRIX_SANITIZE OR NOT HELP2MAN_EXECUTABLE)
    return()
  endif()
  set(name ${target})
  if(arg_NAME)
    set(name ${arg_NAME})
  endif()
  set(folder ${CMAKE_BINARY_DIR}/man)
  set(page ${folder}/${name}.1)
  set(commands ${folder}/${name}.commands)
  set(include_commands)
  set(include_option)
  if(arg_SUBCOMMANDS)
    set(include_commands
        COMMAND ${CMAKE_COMMAND} -DPROGRAM=${folder}/bin/${name} -DNAME=${name} -DOUTPUT=${commands}
                -P ${PROJECT_SOURCE_DIR}/cmake/ManPageCommands.cmake)
    set(include_option --include=${commands})
  endif()
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}/bin
    COMMAND ${CMAKE_COMMAND} -E create_symlink $<TARGET_FILE:${target}> ${folder}/bin/${name}
    ${include_commands}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
            ${HELP2MAN_EXECUTABLE} --no-info --no-discard-stderr ${include_option}
            --version-string=${PROJECT_VERSION} --name=${description} --output=${page}
            ${folder}/bin/${name}
    COMMAND ${GZIP_EXECUTABLE} -9nf ${page}
    DEPENDS ${target} ${PROJECT_SOURCE_DIR}/cmake/ManPageCommands.cmake
    COMMENT "Man page ${name}(1) from ${name} --help"
    VERBATIM)
  add_custom_target(man_${name} ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

# A man page written by hand (for a program without --help), compressed at build time.
function(paltrix_add_written_man_page file)
  if(PALTRIX_SANITIZE)
    return()
  endif()
  get_filename_component(name ${file} NAME)
  set(page ${CMAKE_BINARY_DIR}/man/${name}.gz)
  add_custom_command(
    OUTPUT ${page}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${GZIP_EXECUTABLE} -9nc ${file} > ${page}
    DEPENDS ${file}
    COMMENT "Man page ${name}")
  add_custom_target(man_${name} ALL DEPENDS ${page})
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

# A desktop entry for a windowed program, installed to the applications menu.
function(paltrix_add_desktop_entry file)
  install(FILES ${file} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
endfunction()

# The icon named NAME in the hicolor theme, rendered at build time by the
# Qt program `renderer` (usage: renderer FOLDER SIZE...) so the installed icon
# is exactly the one the program paints.
function(paltrix_add_rendered_icon renderer name)
  if(PALTRIX_SANITIZE)
    return()
  endif()
  set(sizes 16 24 32 48 64 128 256)
  set(folder ${CMAKE_BINARY_DIR}/icons/${name})
  set(outputs)
  foreach(size IN LISTS sizes)
    list(APPEND outputs ${folder}/${size}.png)
    install(FILES ${folder}/${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${name}.png)
  endforeach()
  add_custom_command(
    OUTPUT ${outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen $<TARGET_FILE:${renderer}> ${folder} ${sizes}
    DEPENDS ${renderer}
    COMMENT "Icon ${name} as PNG"
    VERBATIM)
  add_custom_target(icon_${name} ALL DEPENDS ${outputs})
endfunction()
