# One static library per layer of the program, each allowed to include only
# its own folder and the folders of the layers below it:
#
#   math  <-  scene  <-  io, export, update  <-  app
#
# A layer compiles against an include tree of its own, made of links to the
# folders it may use, so that an upward include ("app/..." from scene/)
# fails to compile instead of slipping through. The layers publish no
# include directory; programs, tests and other projects use the umbrella
# target pensato_core, which links every layer and has the project root as
# its include directory.

# pensato_restrict_includes(<target> <folders it may include...>)
function(pensato_restrict_includes target)
    set(tree ${PROJECT_BINARY_DIR}/layers/${target})
    file(MAKE_DIRECTORY ${tree})
    foreach(folder ${ARGN})
        file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${tree}/${folder} SYMBOLIC)
    endforeach()
    target_include_directories(${target} PRIVATE ${tree})
endfunction()

# pensato_add_layer(<target> FOLDERS <folders it may include> LIBS <libraries>)
function(pensato_add_layer target)
    cmake_parse_arguments(L "" "" "FOLDERS;LIBS" ${ARGN})
    add_library(${target} STATIC)
    pensato_restrict_includes(${target} ${L_FOLDERS})
    target_link_libraries(${target} PUBLIC ${L_LIBS})
endfunction()
