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
