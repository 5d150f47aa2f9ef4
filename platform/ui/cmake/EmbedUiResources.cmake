# korvane_embed_ui_resources(TARGET FOLDER SYMBOL): embeds every file of FOLDER (window
# layouts "*.layout.json" and the pictures they name) into TARGET, which then defines
#   std::span<const korvane::platform::ui::ResourceFile> korvane::embedded::SYMBOL();
# to be handed to korvane::platform::ui::ResourceBundle. Files are named by their path
# below FOLDER, with "/" between folders.
set(KORVANE_EMBED_UI_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/EmbedUiFolder.cmake" CACHE INTERNAL "")

function(korvane_embed_ui_resources target folder symbol)
  get_filename_component(folder "${folder}" ABSOLUTE)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS LIST_DIRECTORIES false "${folder}/*")
  list(SORT files)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded/${symbol}.cpp")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${folder} -DOUTPUT=${out} -DSYMBOL=${symbol}
            -P "${KORVANE_EMBED_UI_SCRIPT}"
    DEPENDS ${files} "${KORVANE_EMBED_UI_SCRIPT}"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
  target_link_libraries(${target} PRIVATE korvane_platform_ui)
endfunction()
