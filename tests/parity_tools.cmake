# brannock-dual-functions: the own functions of a library's dual interfaces
# from their interface view. The Wine stage runs the Windows build of it
# under Wine (oleaut32) beside the reader's units
# (scripts/wine-render-parity.sh).
add_executable(brannock-dual-functions ${CMAKE_CURRENT_SOURCE_DIR}/support/dual_functions_main.cpp)
target_link_libraries(brannock-dual-functions PRIVATE brannock_typelib)
if(WIN32)
  target_link_options(brannock-dual-functions PRIVATE -static)
endif()
