# Gives `target` the include directory through which its consumers write
# #include "<folder>/header.h", and nothing else of the source tree: the build tree holds a
# directory whose only entry is a link named <folder> to the source folder.
function(kestramo_expose_headers target folder)
    set(root ${PROJECT_BINARY_DIR}/include/${folder}-root)
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE $<BUILD_INTERFACE:${root}>)
    else()
        target_include_directories(${target} PUBLIC $<BUILD_INTERFACE:${root}>)
    endif()
endfunction()
