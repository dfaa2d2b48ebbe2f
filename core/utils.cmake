# Utils, the enumerations and the account records.
list(APPEND VANTORIX_CORE_SOURCES
    utils/utils.cpp utils/utils.h
    utils/validation.cpp
    utils/validationresult.h
    utils/styles.cpp utils/styles.h
    utils/jsonread.cpp utils/jsonread.h
    computer/computer.cpp computer/computer.h
    computer/computerderived.cpp
    computer/computerenums.cpp
    computer/rdpconnectionfile.cpp computer/rdpconnectionfile.h
    records/assign.h
    records/user.cpp records/user.h
    records/useremailchoices.cpp
    records/userjson.cpp
    records/computertemplate.cpp records/computertemplate.h
    records/banner.cpp records/banner.h
    records/userpayment.cpp records/userpayment.h
)

# The generated QML type registration includes each header by its bare file name, so the folders of the
# registered types must be on the include path of the core.
include_directories(
    ${CMAKE_CURRENT_SOURCE_DIR}/utils
    ${CMAKE_CURRENT_SOURCE_DIR}/computer
    ${CMAKE_CURRENT_SOURCE_DIR}/records
)
