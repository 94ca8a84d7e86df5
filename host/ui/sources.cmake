# Sources of the host's UI helper classes, added to vorcore.
target_sources(vorcore PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CtrlUtils.h ${CMAKE_CURRENT_LIST_DIR}/CtrlUtils.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CButtonST.h ${CMAKE_CURRENT_LIST_DIR}/CButtonST.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CCheckComboBox.h ${CMAKE_CURRENT_LIST_DIR}/CCheckComboBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CResizer.h ${CMAKE_CURRENT_LIST_DIR}/CResizer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/KrTempResourceOverride.h ${CMAKE_CURRENT_LIST_DIR}/KrTempResourceOverride.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DlgOpenSave.h ${CMAKE_CURRENT_LIST_DIR}/DlgOpenSave.cpp
)
target_link_libraries(vorcore PUBLIC vorui)
