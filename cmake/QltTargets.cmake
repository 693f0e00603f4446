# Project-wide build habits: one include root, one set of warnings on every
# target, and the sanitizer build.
#
# Libraries publish src/ as their include root, so an include names the
# folder it comes from: #include "core/cards/cardstore.h".
set(QLT_SOURCE_ROOT ${PROJECT_SOURCE_DIR}/src)

# The warnings every target is built with; QLT_WERROR (CI) makes them errors.
add_library(qlt_warnings INTERFACE)
target_compile_options(qlt_warnings INTERFACE
    -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wcast-qual -Woverloaded-virtual
    -Wimplicit-fallthrough -Wmissing-declarations
    # GCC 12 reports optional<QString> members inside Qt headers as maybe
    # uninitialized in optimised builds; the reports are false.
    $<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized>
    $<$<BOOL:${QLT_WERROR}>:-Werror>)

if(QLT_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
endif()

# qlt_library(NAME SOURCES ... [PUBLIC libs...] [PRIVATE libs...])
# A static library under src/ with the include root published. (Qt makes
# everything position-independent, so a program can also be a loadable
# module, as qltcard's is.)
function(qlt_library name)
    cmake_parse_arguments(L "" "" "SOURCES;PUBLIC;PRIVATE" ${ARGN})
    add_library(${name} STATIC ${L_SOURCES})
    target_include_directories(${name} PUBLIC ${QLT_SOURCE_ROOT})
    target_link_libraries(${name} PUBLIC ${L_PUBLIC} PRIVATE ${L_PRIVATE})
endfunction()

# Links qlt_warnings into every library and executable the project defines,
# called once at the end of the top-level CMakeLists.
function(qlt_apply_warnings)
    set(dirs ${PROJECT_SOURCE_DIR})
    while(dirs)
        list(POP_FRONT dirs dir)
        get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
        list(APPEND dirs ${subdirs})
        get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
        foreach(t ${targets})
            get_target_property(type ${t} TYPE)
            get_target_property(imported ${t} IMPORTED)
            if(type MATCHES "^(STATIC_LIBRARY|MODULE_LIBRARY|EXECUTABLE)$" AND NOT imported)
                target_link_libraries(${t} PRIVATE qlt_warnings)
            endif()
        endforeach()
    endwhile()
endfunction()
