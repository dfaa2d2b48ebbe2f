# The program's identity, given once here: the version (from project()) and the desktop application id.
# The id is the service domain reversed plus ".Client" (vantorix.example gives example.vantorix.Client);
# it names the desktop entry, the icon, the AppStream metadata, the window's desktop file name and the
# start-at-login entry. Hyphens become underscores, as D-Bus names and AppStream ids want them.
if(NOT VANTORIX_APP_ID)
    string(REGEX REPLACE "^[a-zA-Z]+://([^/:]+).*$" "\\1" _vantorix_host "${VANTORIX_DEFAULT_SERVICE_URL}")
    string(TOLOWER "${_vantorix_host}" _vantorix_host)
    string(REPLACE "-" "_" _vantorix_host "${_vantorix_host}")
    string(REPLACE "." ";" _vantorix_labels "${_vantorix_host}")
    list(REVERSE _vantorix_labels)
    list(JOIN _vantorix_labels "." _vantorix_reversed)
    set(VANTORIX_APP_ID "${_vantorix_reversed}.Client")
endif()
if(NOT VANTORIX_APP_ID MATCHES "^[a-z_][a-z0-9_]*(\\.[a-zA-Z_][a-zA-Z0-9_]*)+$")
    message(FATAL_ERROR "The application id '${VANTORIX_APP_ID}' is not a reverse-DNS name; set VANTORIX_APP_ID")
endif()

configure_file(${CMAKE_CURRENT_LIST_DIR}/buildidentity.h.in ${CMAKE_BINARY_DIR}/generated/buildidentity.h @ONLY)
add_library(vantorix_identity INTERFACE)
target_include_directories(vantorix_identity INTERFACE ${CMAKE_BINARY_DIR}/generated)
