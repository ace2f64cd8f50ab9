# Compiles Qt resource files for a static library.
#
# A static library's resource object is referenced by nobody, so the linker
# would drop it and ":/..." paths would be missing at run time. Handing the
# compiled objects to every consumer through the interface keeps them in
# each program that links the library, with no Q_INIT_RESOURCE call needed.
function(pensato_embed_resources target)
    set(name ${target}_resources)
    qt5_add_resources(rcc_sources ${ARGN})
    add_library(${name} OBJECT ${rcc_sources})
    set_target_properties(${name} PROPERTIES
        AUTOMOC OFF AUTOUIC OFF AUTORCC OFF POSITION_INDEPENDENT_CODE ON)
    target_link_libraries(${name} PRIVATE Qt5::Core)
    target_sources(${target} INTERFACE $<TARGET_OBJECTS:${name}>)
endfunction()
