# The service API: request forming, the reply envelope and the client that sends.
list(APPEND VANTORIX_CORE_SOURCES
    api/apiclient.cpp api/apiclient.h
    api/apienvelope.cpp api/apienvelope.h
    api/apipolicy.cpp api/apipolicy.h
    api/apirequest.cpp api/apirequest.h
    api/apirequests.cpp api/apirequests.h
)
