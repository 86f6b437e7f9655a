# Where the installed program keeps its data (the help file), below the prefix.
set(VELIGRAM_DATA_DIR ${CMAKE_INSTALL_DATADIR}/veligram)

# veligram_add_test(tst_name LIBS lib...) builds tests/<folder>/tst_name.cpp into an executable
# run by ctest headless (offscreen platform), labelled with the folder's name.
function(veligram_add_test name)
    cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
    get_filename_component(label ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    add_executable(${name} ${name}.cpp ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
    add_test(NAME ${label}.${name} COMMAND ${name})
    set_tests_properties(${label}.${name} PROPERTIES
        LABELS ${label}
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;VELIGRAM_SAMPLES=${PROJECT_SOURCE_DIR}/../shared/rtf-samples"
        TIMEOUT 300)
endfunction()

# veligram_add_live_test(tst_name LIBS lib...) builds a test of the assembled program with the
# real platform services, run on an X server of its own with a window manager
# (scripts/with-x.sh), once at 800 × 600 and once at twice the scale; skipped where no X server
# can be started.
function(veligram_add_live_test name)
    cmake_parse_arguments(ARG "" "" "LIBS;SOURCES" ${ARGN})
    get_filename_component(label ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    add_executable(${name} ${name}.cpp ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} Qt6::Test)
    foreach(scale 1 2)
        set(test ${label}.${name}.x${scale})
        add_test(NAME ${test} COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/with-x.sh $<TARGET_FILE:${name}>)
        set_tests_properties(${test} PROPERTIES
            LABELS "${label};live"
            ENVIRONMENT "VELIGRAM_X_SCALE=${scale};VELIGRAM_X_RETRY=1;VELIGRAM_SAMPLES=${PROJECT_SOURCE_DIR}/../shared/rtf-samples"
            SKIP_RETURN_CODE 77
            TIMEOUT 300)
    endforeach()
endfunction()

# veligram_precompile_headers() gives every library and program below the project the Qt
# headers of cmake/pch, precompiled once: targets that use Qt Widgets reuse one set, those that
# use Qt Gui only another. A target's compile definitions must include those the set was made
# with, hence one set per level of Qt. Called once, after every target is defined.
function(_veligram_targets_below dir out)
    get_property(found DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(sub ${subdirs})
        _veligram_targets_below(${sub} below)
        list(APPEND found ${below})
    endforeach()
    set(${out} ${found} PARENT_SCOPE)
endfunction()

# Whether target's compile definitions come with qt (a Qt6:: target): it links it, or links a
# library of ours that passes it on.
function(_veligram_brings target qt out)
    set(seen)
    set(pending ${target})
    set(result OFF)
    while(pending)
        list(POP_FRONT pending current)
        if(current IN_LIST seen OR NOT TARGET ${current})
            continue()
        endif()
        list(APPEND seen ${current})
        if(current STREQUAL target)
            get_target_property(links ${current} LINK_LIBRARIES)
        else()
            get_target_property(links ${current} INTERFACE_LINK_LIBRARIES)
        endif()
        foreach(link ${links})
            if(link STREQUAL qt)
                set(result ON)
            elseif(NOT link MATCHES "^\\$<" AND NOT link MATCHES "^Qt6::")
                list(APPEND pending ${link})
            endif()
        endforeach()
    endwhile()
    set(${out} ${result} PARENT_SCOPE)
endfunction()

function(veligram_precompile_headers)
    add_library(veligram_pch_gui STATIC ${PROJECT_SOURCE_DIR}/cmake/pch/host.cpp)
    target_link_libraries(veligram_pch_gui PRIVATE Qt6::Gui)
    target_precompile_headers(veligram_pch_gui PRIVATE ${PROJECT_SOURCE_DIR}/cmake/pch/gui.h)
    add_library(veligram_pch_widgets STATIC ${PROJECT_SOURCE_DIR}/cmake/pch/host.cpp)
    target_link_libraries(veligram_pch_widgets PRIVATE Qt6::Widgets)
    target_precompile_headers(veligram_pch_widgets PRIVATE ${PROJECT_SOURCE_DIR}/cmake/pch/widgets.h)
    _veligram_targets_below(${PROJECT_SOURCE_DIR} targets)
    foreach(target ${targets})
        get_target_property(type ${target} TYPE)
        if(target MATCHES "^veligram_pch_" OR NOT type MATCHES "^(STATIC_LIBRARY|EXECUTABLE)$")
            continue()
        endif()
        _veligram_brings(${target} Qt6::Widgets widgets)
        _veligram_brings(${target} Qt6::Gui gui)
        if(widgets)
            target_precompile_headers(${target} REUSE_FROM veligram_pch_widgets)
        elseif(gui)
            target_precompile_headers(${target} REUSE_FROM veligram_pch_gui)
        endif()
    endforeach()
endfunction()
