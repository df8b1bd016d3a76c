# Helpers shared by the subsystem folders. Each subsystem is one static library built from every
# .cpp below its folder. Its public headers live in <folder>/include/<folder>/ and are included as
# "<folder>/x.h"; that include folder is the only one a library gives to those that link it, so a
# header of a layer above (or of another branch) is not found and a wrong-way include fails to build.

function(quillerby_library name)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include)
    target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# One test program per folder of tests/, from every .cpp in it, each GoogleTest case a CTest test
# labelled with the folder: quillerby_tests(name [TSAN filter] libraries...). The cases that the
# GoogleTest filter after TSAN selects are labelled `tsan` too, for the ThreadSanitizer suite
# (`ctest -L tsan`): those that start threads or run our programs, and those of the sound output.
function(quillerby_tests name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "TSAN" "")
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    if(NOT sources)
        return()
    endif()
    add_executable(${name}_tests ${sources})
    target_link_libraries(${name}_tests PRIVATE ${arg_UNPARSED_ARGUMENTS} winapi_hooks
                                                GTest::gtest_main GTest::gmock)
    if(NOT arg_TSAN)
        gtest_discover_tests(${name}_tests DISCOVERY_MODE PRE_TEST
                             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                             PROPERTIES LABELS ${name})
        return()
    endif()
    gtest_discover_tests(${name}_tests DISCOVERY_MODE PRE_TEST TEST_FILTER "${arg_TSAN}"
                         TEST_LIST ${name}_tsan_cases
                         WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                         PROPERTIES LABELS ${name})
    if(NOT arg_TSAN STREQUAL "*")
        gtest_discover_tests(${name}_tests DISCOVERY_MODE PRE_TEST TEST_FILTER "-${arg_TSAN}"
                             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                             PROPERTIES LABELS ${name})
    endif()
    # The discovery cannot pass a list of labels on, so the second label is set by a file that
    # CTest reads after the discovered cases.
    set(labels "${CMAKE_CURRENT_BINARY_DIR}/${name}_tsan_labels.cmake")
    file(WRITE "${labels}"
         "if(${name}_tsan_cases)\n"
         "    set_tests_properties(\${${name}_tsan_cases} PROPERTIES LABELS \"${name};tsan\")\n"
         "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${labels}")
endfunction()

# One libFuzzer program from one source file.
function(quillerby_fuzzer name source)
    add_executable(${name} ${source})
    target_link_libraries(${name} PRIVATE ${ARGN} winapi_hooks)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# Links files into a program as resources of one type that FindResourceA finds by name:
# quillerby_embed_resources(target TYPE NAME FILE [NAME FILE...]). Relative files are taken from the
# calling folder. Each file becomes a generated source that registers its bytes before main.
function(quillerby_embed_resources target type)
    set(pairs ${ARGN})
    list(LENGTH pairs count)
    math(EXPR odd "${count} % 2")
    if(count EQUAL 0 OR odd)
        message(FATAL_ERROR "quillerby_embed_resources: expected NAME FILE pairs after the type")
    endif()
    while(pairs)
        list(POP_FRONT pairs name file)
        get_filename_component(file "${file}" ABSOLUTE)
        string(MAKE_C_IDENTIFIER "${target}_${type}_${name}" id)
        set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded_resources/${id}.cpp")
        add_custom_command(
            OUTPUT "${out}"
            COMMAND ${CMAKE_COMMAND} "-DQUILLERBY_EMBED_TYPE=${type}"
                    "-DQUILLERBY_EMBED_NAME=${name}" "-DQUILLERBY_EMBED_INPUT=${file}"
                    "-DQUILLERBY_EMBED_OUTPUT=${out}" -P "${CMAKE_CURRENT_FUNCTION_LIST_FILE}"
            DEPENDS "${file}" "${CMAKE_CURRENT_FUNCTION_LIST_FILE}"
            COMMENT "Embedding ${file} as resource ${type}/${name}"
            VERBATIM)
        target_sources(${target} PRIVATE "${out}")
    endwhile()
endfunction()

# Run as a script (cmake -P) by the rule above: writes one resource's source file.
if(CMAKE_SCRIPT_MODE_FILE AND DEFINED QUILLERBY_EMBED_OUTPUT)
    file(READ "${QUILLERBY_EMBED_INPUT}" hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x..,){16})" "\\1\n    " bytes "${bytes}")
    if(size EQUAL 0)
        set(bytes "0") # an array cannot be empty; the registered size stays 0
    endif()
    foreach(text TYPE NAME)
        string(REPLACE "\\" "\\\\" escaped "${QUILLERBY_EMBED_${text}}")
        string(REPLACE "\"" "\\\"" escaped_${text} "${escaped}")
    endforeach()
    file(WRITE "${QUILLERBY_EMBED_OUTPUT}"
         "// Generated from ${QUILLERBY_EMBED_INPUT}; do not edit.\n"
         "#include \"winapi/resources.h\"\n\n"
         "namespace {\n"
         "const unsigned char bytes[] = {\n    ${bytes}};\n"
         "[[maybe_unused]] const bool registered = winapi::RegisterResource(\n"
         "    \"${escaped_TYPE}\", \"${escaped_NAME}\", bytes, ${size});\n"
         "} // namespace\n")
endif()
