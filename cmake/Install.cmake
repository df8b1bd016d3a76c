# `cmake --install` (and `make install`): the programs in bin/, the game's assets in
# share/quillerby/, where the installed game finds them (winapi/src/entry/installed_layout.h), the
# desktop entry with its icons, and a manual page for each program. cmake/Uninstall.cmake (the
# `uninstall` target, `make uninstall`) takes away what the installs into a prefix put there.
include(GNUInstallDirs)

set(data_dir ${CMAKE_INSTALL_DATADIR}/quillerby)
set(icon_sizes 16 32 48 64 128 256)
set(destinations ${CMAKE_INSTALL_BINDIR} ${data_dir} ${CMAKE_INSTALL_DATADIR}/applications
                 ${CMAKE_INSTALL_MANDIR}/man1)
foreach(size ${icon_sizes})
    list(APPEND destinations ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

# Every folder on the way to a destination, parents first, for the record of created folders.
set(folders)
foreach(destination ${destinations})
    set(path)
    string(REPLACE "/" ";" parts ${destination})
    foreach(part ${parts})
        string(APPEND path "${part}")
        list(APPEND folders ${path})
        string(APPEND path "/")
    endforeach()
endforeach()
list(REMOVE_DUPLICATES folders)

# The install leaves a record of what it put in place, share/quillerby/installed-files.txt, for
# the uninstall: the files, and the folders it had to create (ending in /), so that the uninstall
# never takes away a folder that was there before (an empty /usr/local/share/man/man1, say). Paths
# are relative to the prefix; a later install into the same prefix keeps the folders an earlier one
# created.
set(record_name ${data_dir}/installed-files.txt)
install(CODE "
    set(quillerby_root \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    set(quillerby_created)
    if(EXISTS \"\${quillerby_root}/${record_name}\")
        file(STRINGS \"\${quillerby_root}/${record_name}\" quillerby_created REGEX \"/\$\")
    endif()
    foreach(folder ${folders})
        if(NOT EXISTS \"\${quillerby_root}/\${folder}\")
            list(APPEND quillerby_created \"\${folder}/\")
        endif()
    endforeach()
")
install(TARGETS quillerby quillerby-reg errlookup RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
file(GLOB game_assets CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/assets/*)
install(FILES ${game_assets} DESTINATION ${data_dir})
# The desktop entry starts the game by its installed path, so that the menu finds it even where
# the prefix's bin/ is not on the desktop's PATH.
install(CODE "
    file(READ \"${PROJECT_SOURCE_DIR}/desktop/quillerby.desktop\" quillerby_entry)
    set(quillerby_game \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/quillerby\")
    if(quillerby_game MATCHES \" \")
        set(quillerby_game \"\\\"\${quillerby_game}\\\"\")
    endif()
    string(REPLACE \"Exec=quillerby\" \"Exec=\${quillerby_game}\" quillerby_entry \"\${quillerby_entry}\")
    file(WRITE \"${PROJECT_BINARY_DIR}/desktop/quillerby.desktop\" \"\${quillerby_entry}\")
    file(INSTALL DESTINATION \"\${quillerby_root}/${CMAKE_INSTALL_DATADIR}/applications\"
         TYPE FILE FILES \"${PROJECT_BINARY_DIR}/desktop/quillerby.desktop\")
")
foreach(size ${icon_sizes})
    install(FILES desktop/icons/quillerby-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME quillerby.png)
endforeach()
# The manual pages carry the project's version.
foreach(program quillerby quillerby-reg errlookup)
    configure_file(man/${program}.1.in ${PROJECT_BINARY_DIR}/man/${program}.1 @ONLY)
    install(FILES ${PROJECT_BINARY_DIR}/man/${program}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# Runs last: the record itself.
install(CODE "
    set(quillerby_lines \${quillerby_created})
    foreach(file \${CMAKE_INSTALL_MANIFEST_FILES})
        file(RELATIVE_PATH relative \"\${quillerby_root}\" \"\${file}\")
        list(APPEND quillerby_lines \"\${relative}\")
    endforeach()
    list(REMOVE_DUPLICATES quillerby_lines)
    list(JOIN quillerby_lines \"\\n\" quillerby_text)
    file(WRITE \"\${quillerby_root}/${record_name}\" \"\${quillerby_text}\\n\")
")

add_custom_target(uninstall
    COMMAND ${CMAKE_COMMAND} -DPREFIX=${CMAKE_INSTALL_PREFIX}
            -P ${CMAKE_CURRENT_LIST_DIR}/Uninstall.cmake
    COMMENT "Removing what the install into ${CMAKE_INSTALL_PREFIX} put in place")
