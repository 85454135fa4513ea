# The quest document's text: Windows-1252 codec, shown lines of the wrapping
# fields, the quest file reader and writer, font substitutions. No widgets.
add_library(dk_quest_core STATIC
    ${CMAKE_CURRENT_LIST_DIR}/questdocument.h
    ${CMAKE_CURRENT_LIST_DIR}/cp1252.h ${CMAKE_CURRENT_LIST_DIR}/cp1252.cpp
    ${CMAKE_CURRENT_LIST_DIR}/fonts.h ${CMAKE_CURRENT_LIST_DIR}/fonts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/textlines.h ${CMAKE_CURRENT_LIST_DIR}/textlines.cpp
    ${CMAKE_CURRENT_LIST_DIR}/questfile.h ${CMAKE_CURRENT_LIST_DIR}/questfile.cpp
)
target_include_directories(dk_quest_core PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(dk_quest_core PUBLIC dk_platform_core Qt6::Gui)

# The quest editor window.
add_library(dk_quest_ui STATIC
    ${CMAKE_CURRENT_LIST_DIR}/questeditor.h ${CMAKE_CURRENT_LIST_DIR}/questeditor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/questeditordocument.cpp
    ${CMAKE_CURRENT_LIST_DIR}/questeditorfiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/questfields.h ${CMAKE_CURRENT_LIST_DIR}/questfields.cpp
)
target_include_directories(dk_quest_ui PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(dk_quest_ui PUBLIC dk_quest_core dk_platform_ui Qt6::Widgets)
