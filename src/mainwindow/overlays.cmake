# The own-overlay browsers: the listing, preview and stamp logic without
# widgets (dk_overlays_core), and the three browser pages (dk_overlays_ui).
add_library(dk_overlays_core STATIC
    ${CMAKE_CURRENT_LIST_DIR}/overlayslot.h ${CMAKE_CURRENT_LIST_DIR}/overlayslot.cpp
)
target_include_directories(dk_overlays_core PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(dk_overlays_core PUBLIC dk_board_core dk_platform_core Qt6::Gui)

add_library(dk_overlays_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/overlaybrowser.h ${CMAKE_CURRENT_LIST_DIR}/overlaybrowser.cpp
)
target_include_directories(dk_overlays_ui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(dk_overlays_ui PUBLIC dk_overlays_core dk_platform_ui Qt6::Widgets)
