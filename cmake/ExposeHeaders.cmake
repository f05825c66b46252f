# Includes are spelled from the repository root ("store/profile/ProfileStore.h"), yet a target sees only the
# headers of its own folder and of the targets it links: each folder's headers are linked into a folder of
# the build tree of their own, and that folder goes on the include path of the target and of whatever
# links it. An include of a layer the target does not link then fails to compile.
function(quarvel_expose_headers target folder)
    set(view ${PROJECT_BINARY_DIR}/include/${target})
    file(REMOVE_RECURSE ${view})
    file(MAKE_DIRECTORY ${view}/${folder})
    file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h)
    foreach(header IN LISTS headers)
        get_filename_component(name ${header} NAME)
        file(CREATE_LINK ${header} ${view}/${folder}/${name} SYMBOLIC)
    endforeach()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${view})
    else()
        target_include_directories(${target} PUBLIC ${view})
    endif()
endfunction()
