# The signed-in session: the computer records' operations, the session object with its preferences,
# lists, grid models, polling and event notices, and the factory the window creates sessions with.
list(APPEND VANTORIX_CORE_SOURCES
    computer/computerdata.cpp computer/computerdata.h
    computer/computeroperations.cpp
    computer/rdpdisplay.cpp computer/rdpdisplay.h
    session/connectionpreferences.cpp session/connectionpreferences.h
    session/computerordering.cpp session/computerordering.h
    session/creditforecast.cpp session/creditforecast.h
    session/jscallback.cpp session/jscallback.h
    session/machinelistmodel.cpp session/machinelistmodel.h
    session/maincontext.cpp session/maincontext.h
    session/maincontextaccount.cpp
    session/maincontextactions.cpp
    session/maincontextforesight.cpp
    session/maincontextlist.cpp
    session/maincontextpayments.cpp
    session/maincontextshell.cpp
    session/maincontexttimers.cpp
    session/notificationpreferences.cpp session/notificationpreferences.h
    session/sessionevent.cpp session/sessionevent.h
    session/sessionfactory.cpp session/sessionfactory.h
    session/sessionpreferences.cpp session/sessionpreferences.h
    session/sessionshell.cpp session/sessionshell.h
    session/storedpreference.cpp session/storedpreference.h
    session/traymenu.cpp session/traymenu.h
)

# The generated QML type registration includes each header by its bare file name.
include_directories(${CMAKE_CURRENT_SOURCE_DIR}/session)
