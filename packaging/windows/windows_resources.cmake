# Windows resources of a program: the icon (packaging/windows/qora.ico, rendered from the program's artwork by
# qora-render-icons) and the version information Explorer shows in the file's properties.
function(qora_add_windows_resources target description file_name)
  set(QORA_RC_DESCRIPTION "${description}")
  set(QORA_RC_FILE_NAME "${file_name}")
  set(QORA_RC_INTERNAL_NAME "${target}")
  set(QORA_RC_ICON "${PROJECT_SOURCE_DIR}/packaging/windows/qora.ico")
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc")
  configure_file("${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in" "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
  set_source_files_properties("${rc}" PROPERTIES OBJECT_DEPENDS "${QORA_RC_ICON}")
endfunction()
