# The palette catalogue and the tool-state operations (no widgets), and the
# palette pages with the furniture views.
add_library(dk_palette_core STATIC
    catalogue.h catalogue.cpp
)
target_include_directories(dk_palette_core PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(dk_palette_core PUBLIC dk_board_core dk_platform_core Qt6::Gui)

add_library(dk_palette_ui STATIC
    palette.h palette.cpp
)
target_include_directories(dk_palette_ui PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(dk_palette_ui PUBLIC dk_palette_core Qt6::Widgets)
