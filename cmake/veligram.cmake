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
