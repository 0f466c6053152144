# A target sees the folder it is built from and the folders of the libraries it links, nothing
# else, so that a folder including from a layer above it does not compile. Each folder is
# reached through a link of its own in the build tree, which keeps includes in their
# "folder/File.h" form.
function(qln_folder_includes target folder scope)
    get_filename_component(source ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/.. ABSOLUTE)
    set(root ${CMAKE_BINARY_DIR}/folders/${folder})
    if(NOT EXISTS ${root}/${folder})
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${source}/${folder} ${root}/${folder} SYMBOLIC)
    endif()
    target_include_directories(${target} ${scope} ${root})
endfunction()
