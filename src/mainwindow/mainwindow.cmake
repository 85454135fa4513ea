# The frame window with its menus, tool bar and status bar, the about box and
# the application object with the program-wide error report.
add_library(dk_mainwindow_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/application.h ${CMAKE_CURRENT_LIST_DIR}/application.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mainwindow.h ${CMAKE_CURRENT_LIST_DIR}/mainwindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/mainwindowmaps.cpp
    ${CMAKE_CURRENT_LIST_DIR}/menumerge.h
    ${CMAKE_CURRENT_LIST_DIR}/aboutbox.h ${CMAKE_CURRENT_LIST_DIR}/aboutbox.cpp
)
target_include_directories(dk_mainwindow_ui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(dk_mainwindow_ui PUBLIC dk_board_ui dk_platform_ui dk_palette_ui dk_overlays_ui Qt6::Widgets)

# The program's icon (the same pictures the package installs) for its windows.
qt_add_resources(dk_mainwindow_ui dk_program_icon
    PREFIX /icons
    BASE ${PROJECT_SOURCE_DIR}/packaging/icons
    FILES
        ${PROJECT_SOURCE_DIR}/packaging/icons/dkedit-16.png
        ${PROJECT_SOURCE_DIR}/packaging/icons/dkedit-32.png
        ${PROJECT_SOURCE_DIR}/packaging/icons/dkedit-48.png
        ${PROJECT_SOURCE_DIR}/packaging/icons/dkedit-64.png
        ${PROJECT_SOURCE_DIR}/packaging/icons/dkedit-128.png
        ${PROJECT_SOURCE_DIR}/packaging/icons/dkedit-256.png
)
target_compile_definitions(dk_mainwindow_ui PRIVATE DK_VERSION="${PROJECT_VERSION}")
