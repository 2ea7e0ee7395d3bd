# The VXI-11 RPC stubs are generated from our own protocol definition:
# header, XDR routines, server dispatch (no main) and client stubs.
find_program(RPCGEN rpcgen REQUIRED)
set(_vxi_src ${CMAKE_CURRENT_LIST_DIR}/ETHLXI/vxi11/vxi11.x)
set(_vxi_dir ${CMAKE_BINARY_DIR}/generated/vxi11)
file(MAKE_DIRECTORY ${_vxi_dir})
set(_vxi_out ${_vxi_dir}/vxi11.h ${_vxi_dir}/vxi11_xdr.c ${_vxi_dir}/vxi11_svc.c ${_vxi_dir}/vxi11_clnt.c)
add_custom_command(
  OUTPUT ${_vxi_out}
  COMMAND ${CMAKE_COMMAND} -E copy ${_vxi_src} ${_vxi_dir}/vxi11.x
  # rpcgen refuses to overwrite its outputs; a changed definition regenerates.
  COMMAND ${CMAKE_COMMAND} -E remove -f vxi11.h vxi11_xdr.c vxi11_svc.c vxi11_clnt.c
  COMMAND ${RPCGEN} -h -o vxi11.h vxi11.x
  COMMAND ${RPCGEN} -c -o vxi11_xdr.c vxi11.x
  COMMAND ${RPCGEN} -m -o vxi11_svc.c vxi11.x
  COMMAND ${RPCGEN} -l -o vxi11_clnt.c vxi11.x
  DEPENDS ${_vxi_src}
  WORKING_DIRECTORY ${_vxi_dir}
  COMMENT "Generating the VXI-11 RPC stubs"
  VERBATIM)
set_source_files_properties(${_vxi_dir}/vxi11_xdr.c ${_vxi_dir}/vxi11_svc.c ${_vxi_dir}/vxi11_clnt.c
  PROPERTIES COMPILE_OPTIONS "-w")
list(APPEND ORNAV_GENERATED_SOURCES ${_vxi_out})
