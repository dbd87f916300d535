# The vendor web host and e-mail address: one build setting for the code and resources of the
# shared controls and both programs that name the vendor (target vendor_site).
if(LUMIVANE_VENDOR_HOST MATCHES "[/\":\\\\ ]" OR LUMIVANE_VENDOR_HOST STREQUAL "")
  message(FATAL_ERROR "LUMIVANE_VENDOR_HOST must be a bare host name, got '${LUMIVANE_VENDOR_HOST}'")
endif()
if(NOT LUMIVANE_VENDOR_EMAIL MATCHES "^[^\" ]+@[^\" ]+$")
  message(FATAL_ERROR "LUMIVANE_VENDOR_EMAIL must be an e-mail address, got '${LUMIVANE_VENDOR_EMAIL}'")
endif()
configure_file(${CMAKE_CURRENT_LIST_DIR}/VendorSite.h.in ${CMAKE_BINARY_DIR}/generated/VendorSite.h @ONLY)
add_library(vendor_site INTERFACE)
target_include_directories(vendor_site INTERFACE ${CMAKE_BINARY_DIR}/generated)

