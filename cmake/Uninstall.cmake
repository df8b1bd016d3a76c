# cmake -DPREFIX=/usr/local -P Uninstall.cmake: removes what installing into PREFIX put there, as
# its record share/quillerby/installed-files.txt lists it: each file, then each folder that the
# install created and that is now empty, deepest first.
set(record "${PREFIX}/share/quillerby/installed-files.txt")
if(NOT EXISTS "${record}")
    message(FATAL_ERROR "Nothing to uninstall: ${record} does not exist")
endif()
file(STRINGS "${record}" entries)
set(folders)
foreach(entry ${entries})
    if(entry MATCHES "/$")
        list(APPEND folders "${PREFIX}/${entry}")
    elseif(EXISTS "${PREFIX}/${entry}" OR IS_SYMLINK "${PREFIX}/${entry}")
        message(STATUS "Removing ${PREFIX}/${entry}")
        file(REMOVE "${PREFIX}/${entry}")
    endif()
endforeach()
file(REMOVE "${record}")

list(SORT folders ORDER DESCENDING) # a folder sorts after its parent
foreach(folder ${folders})
    file(GLOB left "${folder}*" "${folder}.*")
    if(IS_DIRECTORY "${folder}" AND NOT left)
        message(STATUS "Removing ${folder}")
        file(REMOVE_RECURSE "${folder}") # empty, as just seen
    endif()
endforeach()
