# The C++ side of the window and its signed-out views: the shell the core reaches the window through,
# the window's settings, the country list and VAT check, the sign-in forms' requests.
list(APPEND VANTORIX_CORE_SOURCES
    ui/authcontroller.cpp ui/authcontroller.h
    ui/countryservice.cpp ui/countryservice.h
    ui/gridgeometry.cpp ui/gridgeometry.h
    ui/loginsettings.cpp ui/loginsettings.h
    ui/notificationpolicy.cpp ui/notificationpolicy.h
    ui/secretprotector.h
    ui/uiservices.cpp ui/uiservices.h
    ui/uishell.cpp ui/uishell.h
)

# The generated QML type registration includes each header by its bare file name.
include_directories(${CMAKE_CURRENT_SOURCE_DIR}/ui)
