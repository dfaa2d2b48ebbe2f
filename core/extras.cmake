# The log view's host logic, the billing figures, payments and VAT, the account forms and the
# create-computer form's choices.
list(APPEND VANTORIX_CORE_SOURCES
    logs/csvwriter.cpp logs/csvwriter.h
    logs/logpaging.cpp logs/logpaging.h
    logs/logscontroller.cpp logs/logscontroller.h
    billing/pricehistory.cpp billing/pricehistory.h
    billing/billingfigures.cpp billing/billingfigures.h
    billing/billingformat.cpp billing/billingformat.h
    payments/vatrules.cpp payments/vatrules.h
    payments/paymenthistory.cpp payments/paymenthistory.h
    payments/paymentscontroller.cpp payments/paymentscontroller.h
    account/profileeditor.cpp account/profileeditor.h
    account/emailpreferences.cpp account/emailpreferences.h
    create/createinstanceform.cpp create/createinstanceform.h
)

# The generated QML type registration includes each header by its bare file name.
include_directories(
    ${CMAKE_CURRENT_SOURCE_DIR}/logs
    ${CMAKE_CURRENT_SOURCE_DIR}/billing
    ${CMAKE_CURRENT_SOURCE_DIR}/payments
    ${CMAKE_CURRENT_SOURCE_DIR}/account
    ${CMAKE_CURRENT_SOURCE_DIR}/create
)
