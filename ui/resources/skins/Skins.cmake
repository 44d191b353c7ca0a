# The five skins of the skin store, made from Skin.qss.in: SkinItem0 ... SkinItem4.
# marlovent_skin(INDEX NAME KEY VALUE KEY VALUE ...) writes skins/SkinItemINDEX.qss into the
# build folder and adds it to the list MARLOVENT_SKIN_FILES.

function(marlovent_skin INDEX SKIN_NAME)
  set(Pairs ${ARGN})
  list(LENGTH Pairs Count)
  math(EXPR Last "${Count} - 1")
  foreach(At RANGE 0 ${Last} 2)
    math(EXPR ValueAt "${At} + 1")
    list(GET Pairs ${At} Key)
    list(GET Pairs ${ValueAt} Value)
    set(${Key} "${Value}")
  endforeach()
  set(Output "${CMAKE_CURRENT_BINARY_DIR}/skins/SkinItem${INDEX}.qss")
  configure_file("${CMAKE_CURRENT_LIST_DIR}/Skin.qss.in" "${Output}" @ONLY)
  set(MARLOVENT_SKIN_FILES ${MARLOVENT_SKIN_FILES} "${Output}" PARENT_SCOPE)
endfunction()

# Keys every skin sets: the window and its text, group boxes, buttons (with hover), fields,
# the accent of selections and the progress bar, the list's grid, and disabled controls.

marlovent_skin(0 "Harbour"
  WINDOW "#b9c9dc" TEXT "#10243d" GROUP_FILL "#c8d6e6" GROUP_BORDER "#6f8db0" GROUP_TITLE "#123a6b"
  RADIUS 3 BUTTON_TEXT "#0f2744" BUTTON_TOP "#f3f7fc" BUTTON_BOTTOM "#b5c8df" BUTTON_BORDER "#5d7fa8"
  HOVER_TOP "#ffffff" HOVER_BOTTOM "#cbdaec" FIELD_TEXT "#0d1b2c" FIELD_FILL "#ffffff"
  FIELD_BORDER "#7d97b8" READONLY_FILL "#eef3f9" ACCENT_TOP "#6fa6e3"
  ACCENT_BOTTOM "#2f6db3" SELECTION_TEXT "#ffffff" GRID "#c5d3e3" DISABLED_TEXT "#7c8a9a"
  DISABLED_FILL "#d3dce7" DISABLED_BORDER "#9aabbf")

marlovent_skin(1 "Graphite"
  WINDOW "#3b3f45" TEXT "#e8eaed" GROUP_FILL "#44494f" GROUP_BORDER "#2a2d31" GROUP_TITLE "#9fd0ff"
  RADIUS 2 BUTTON_TEXT "#f1f3f5" BUTTON_TOP "#626870" BUTTON_BOTTOM "#4a4f56" BUTTON_BORDER "#25282c"
  HOVER_TOP "#737a83" HOVER_BOTTOM "#575d65" FIELD_TEXT "#f1f3f5" FIELD_FILL "#2c2f33"
  FIELD_BORDER "#1f2124" READONLY_FILL "#35383d" ACCENT_TOP "#5fb2ff"
  ACCENT_BOTTOM "#2b7fd4" SELECTION_TEXT "#ffffff" GRID "#3d4147" DISABLED_TEXT "#8b9097"
  DISABLED_FILL "#3f4348" DISABLED_BORDER "#33363a")

marlovent_skin(2 "Silver"
  WINDOW "#c0c0c0" TEXT "#1a1a1a" GROUP_FILL "#c0c0c0" GROUP_BORDER "#808080" GROUP_TITLE "#0b2f6b"
  RADIUS 3 BUTTON_TEXT "#141414" BUTTON_TOP "#fbfbfb" BUTTON_BOTTOM "#c9ced6" BUTTON_BORDER "#6d7480"
  HOVER_TOP "#ffffff" HOVER_BOTTOM "#dfe6f0" FIELD_TEXT "#111111" FIELD_FILL "#ffffff"
  FIELD_BORDER "#7a808a" READONLY_FILL "#f2f2f2" ACCENT_TOP "#7fb3ec"
  ACCENT_BOTTOM "#2f69b8" SELECTION_TEXT "#ffffff" GRID "#d0d0d0" DISABLED_TEXT "#7a7a7a"
  DISABLED_FILL "#d0d0d0" DISABLED_BORDER "#9a9a9a")

marlovent_skin(3 "Jade"
  WINDOW "#b7d3c4" TEXT "#102a1e" GROUP_FILL "#c5ddd0" GROUP_BORDER "#5f927a" GROUP_TITLE "#0f5236"
  RADIUS 4 BUTTON_TEXT "#0e2a1d" BUTTON_TOP "#f4fbf7" BUTTON_BOTTOM "#b1d3c1" BUTTON_BORDER "#4e8068"
  HOVER_TOP "#ffffff" HOVER_BOTTOM "#c9e3d5" FIELD_TEXT "#0c2218" FIELD_FILL "#ffffff"
  FIELD_BORDER "#6f9c86" READONLY_FILL "#eef7f2" ACCENT_TOP "#5cc393"
  ACCENT_BOTTOM "#22885a" SELECTION_TEXT "#ffffff" GRID "#c6ddd1" DISABLED_TEXT "#6f857a"
  DISABLED_FILL "#cfe0d7" DISABLED_BORDER "#93aea0")

marlovent_skin(4 "Amber"
  WINDOW "#e2cfa8" TEXT "#3a2508" GROUP_FILL "#ead9b8" GROUP_BORDER "#a9824a" GROUP_TITLE "#7a3f00"
  RADIUS 3 BUTTON_TEXT "#3a2508" BUTTON_TOP "#fffaf0" BUTTON_BOTTOM "#e6c88e" BUTTON_BORDER "#9c7236"
  HOVER_TOP "#ffffff" HOVER_BOTTOM "#f0d9ab" FIELD_TEXT "#2e1d06" FIELD_FILL "#fffdf8"
  FIELD_BORDER "#b08b55" READONLY_FILL "#fbf4e6" ACCENT_TOP "#ffbf5a"
  ACCENT_BOTTOM "#d98410" SELECTION_TEXT "#ffffff" GRID "#ead7b4" DISABLED_TEXT "#8e7b5e"
  DISABLED_FILL "#e5d7bc" DISABLED_BORDER "#bfa881")
