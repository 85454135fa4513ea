# The quest sheet: scroll and legend pictures, millimetre layout (no widgets),
# and the print command with the preview buttons (widgets and printing).
add_library(dk_sheet_core STATIC
    ${CMAKE_CURRENT_LIST_DIR}/questdocument.h
    ${CMAKE_CURRENT_LIST_DIR}/sheet.h ${CMAKE_CURRENT_LIST_DIR}/sheet.cpp
    ${CMAKE_CURRENT_LIST_DIR}/sheetlayout.h ${CMAKE_CURRENT_LIST_DIR}/sheetlayout.cpp
)
target_include_directories(dk_sheet_core PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(dk_sheet_core PUBLIC dk_platform_core Qt6::Gui)

add_library(dk_sheet_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/sheetprint.h ${CMAKE_CURRENT_LIST_DIR}/sheetprint.cpp
)
target_include_directories(dk_sheet_ui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(dk_sheet_ui PUBLIC dk_sheet_core dk_platform_ui Qt6::PrintSupport Qt6::Widgets)
