#pragma once

#include "account/emailpreferences.h"
#include "account/profileeditor.h"
#include "api/apiclient.h"
#include "computer/computer.h"
#include "hostservices.h"
#include "logs/logscontroller.h"
#include "payments/paymentscontroller.h"
#include "records/banner.h"
#include "records/computertemplate.h"
#include "records/user.h"
#include "records/userpayment.h"
#include "session/computerordering.h"
#include "session/connectionpreferences.h"
#include "session/machinelistmodel.h"
#include "session/sessionpreferences.h"
#include "session/sessionshell.h"
#include "shell.h"

#include <QDateTime>
#include <QHash>
#include <QJSValue>
#include <QJsonValue>
#include <QList>
#include <QPointer>
#include <QTimer>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <memory>
#include <optional>

class QSettings;

// The signed-in session: one per sign-in, handed to every signed-in view as `main`. It holds the user's
// computers with their filtering, ordering, selection and the two grid models, the polling that keeps
// them and the account current, the bulk operations, computer creation, templates, banners, the event
// notices, sign-out, and forwards the window's notification, confirmation and deferred-call services.
// The persisted preferences come from the base class.
//
// Creating one. Tests and C++ callers pass the collaborators directly. The window creates one per
// sign-in with `SessionFactory.create(user, parent)` (sessionfactory.h), which takes the process-wide
// ApiClient, Shell, HostServices and settings store registered with SessionFactory at start-up. The
// window connects `signedOutRequested` and `resetPasswordRequested` (emitted 4 s after sign-out or the
// password-reset sign-out began) to drop the user and the session; on `signingOut` it may reload its
// own copy of "loginPassword", which the session has already cleared in the store.
//
// One class for QML, its jobs in files of their own: maincontext.cpp (wiring, sign-out, page properties),
// maincontextlist.cpp, maincontextactions.cpp, maincontextaccount.cpp, maincontextpayments.cpp,
// maincontextforesight.cpp, maincontextshell.cpp and maincontexttimers.cpp.
class MainContext : public SessionPreferences {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Created per sign-in by SessionFactory.create")

    Q_PROPERTY(User *user READ user CONSTANT)
    Q_PROPERTY(int pageIndex READ pageIndex WRITE setPageIndex NOTIFY pageIndexChanged)
    Q_PROPERTY(int myAccountPageIndex READ myAccountPageIndex WRITE setMyAccountPageIndex NOTIFY
                   myAccountPageIndexChanged)
    Q_PROPERTY(bool confirmationPopupsEnabled READ confirmationPopupsEnabled WRITE
                   setConfirmationPopupsEnabled NOTIFY confirmationPopupsEnabledChanged)
    Q_PROPERTY(bool loadingComputers READ loadingComputers NOTIFY loadingComputersChanged)
    Q_PROPERTY(
        bool loadingComputersInternal READ loadingComputersInternal NOTIFY loadingComputersInternalChanged)
    Q_PROPERTY(
        bool updatingUserData READ updatingUserData WRITE setUpdatingUserData NOTIFY updatingUserDataChanged)
    Q_PROPERTY(QDateTime now READ now NOTIFY nowChanged)

    Q_PROPERTY(QList<Computer *> computers READ computers NOTIFY computersChanged)
    Q_PROPERTY(QList<qint64> selectedComputers READ selectedComputers WRITE setSelectedComputers NOTIFY
                   selectedComputersChanged)
    Q_PROPERTY(QList<ComputerTemplate *> computerTemplates READ computerTemplates WRITE setComputerTemplates
                   NOTIFY computerTemplatesChanged)

    // Derived from the computers, the filters, the ordering and the selection.
    Q_PROPERTY(QList<int> filteredStatuses READ filteredStatuses NOTIFY filteredStatusesChanged)
    Q_PROPERTY(QList<int> filteredPlatforms READ filteredPlatforms NOTIFY filteredPlatformsChanged)
    Q_PROPERTY(QList<Computer *> visibleComputers READ visibleComputers NOTIFY visibleComputersChanged)
    Q_PROPERTY(QList<Computer *> visibleFavouriteComputers READ visibleFavouriteComputers NOTIFY
                   visibleFavouriteComputersChanged)
    Q_PROPERTY(QList<Computer *> visibleStandardComputers READ visibleStandardComputers NOTIFY
                   visibleStandardComputersChanged)
    Q_PROPERTY(MachineListModel *visibleFavouriteMachinesModel READ visibleFavouriteMachinesModel CONSTANT)
    Q_PROPERTY(MachineListModel *visibleStandardMachinesModel READ visibleStandardMachinesModel CONSTANT)
    Q_PROPERTY(QList<Computer *> startableComputers READ startableComputers NOTIFY startableComputersChanged)
    Q_PROPERTY(QList<Computer *> stoppableComputers READ stoppableComputers NOTIFY stoppableComputersChanged)
    Q_PROPERTY(QList<Computer *> deletableComputers READ deletableComputers NOTIFY deletableComputersChanged)
    Q_PROPERTY(double currentBurnRate READ currentBurnRate NOTIFY currentBurnRateChanged)
    Q_PROPERTY(double selectedBurnRate READ selectedBurnRate NOTIFY selectedBurnRateChanged)
    // How long the balance lasts at currentBurnRate while a computer runs: hours (-1 when nothing runs) and
    // the line "≈ 14 h 20 min left" ("" when nothing runs).
    Q_PROPERTY(double hoursLeft READ hoursLeft NOTIFY creditForecastChanged)
    Q_PROPERTY(QString hoursLeftText READ hoursLeftText NOTIFY creditForecastChanged)

    // Event notice state of this sign-in.
    Q_PROPERTY(bool lowCreditsNotificationShown READ lowCreditsNotificationShown NOTIFY
                   lowCreditsNotificationShownChanged)
    Q_PROPERTY(bool creditsDepletedNotificationShown READ creditsDepletedNotificationShown NOTIFY
                   creditsDepletedNotificationShownChanged)
    Q_PROPERTY(double oldCredits READ oldCredits NOTIFY oldCreditsChanged)

    Q_PROPERTY(Banner *topBannerDark READ topBannerDark CONSTANT)
    Q_PROPERTY(Banner *topBannerLight READ topBannerLight CONSTANT)
    Q_PROPERTY(Banner *leftBannerDark READ leftBannerDark CONSTANT)
    Q_PROPERTY(Banner *leftBannerLight READ leftBannerLight CONSTANT)

    Q_PROPERTY(QTimer *refreshInstancesTimer READ refreshInstancesTimer CONSTANT)
    Q_PROPERTY(QTimer *bannerRefreshTimer READ bannerRefreshTimer CONSTANT)
    Q_PROPERTY(QTimer *nowTimer READ nowTimer CONSTANT)
    // The polling interval in milliseconds (10 to the power refreshRate).
    Q_PROPERTY(int refreshInterval READ refreshIntervalMs NOTIFY refreshRateChanged)

    // Payments, credit purchase and VAT (maincontextpayments.cpp): the controller, and its list and rate
    // under the session's own names.
    Q_PROPERTY(PaymentsController *payments READ payments CONSTANT)
    Q_PROPERTY(QList<UserPayment *> userPayments READ userPayments NOTIFY userPaymentsChanged)
    Q_PROPERTY(double romainianVatRate READ romainianVatRate NOTIFY romainianVatRateChanged)
    Q_PROPERTY(EmailPreferences *emailPreferences READ emailPreferences CONSTANT)
    // The Remote Desktop display settings every connection of this session uses.
    Q_PROPERTY(ConnectionPreferences *connection READ connection CONSTANT)

public:
    enum Page { Computers = 0, CreateInstance = 1, Account = 2 };
    Q_ENUM(Page)

    static constexpr int kOperationRetryMs = 2000;
    static constexpr int kFavouriteResumeMs = 1000;
    static constexpr int kSignOutDelayMs = 4000;
    static constexpr int kBannerRefreshMs = 300000;

    // None of the collaborators is owned; all must outlive the session. `host` and `settings` may be null
    // (no platform effects, nothing persisted). All timers start at once; the banners load immediately.
    MainContext(ApiClient *api, Shell *shell, const HostServices *host, User *user, QSettings *settings,
                QObject *parent = nullptr);
    ~MainContext() override;

    // --- Collaborators, for the computers' operations ---
    [[nodiscard]] ApiClient *api() const { return m_api; }
    [[nodiscard]] const HostServices *host() const { return m_host; }
    [[nodiscard]] QString userEmail() const;
    // Handlers that belong to `context` and show their notices through this session (master switch).
    [[nodiscard]] ApiHandlers handlersFor(QObject *context);
    // Stops the polling (an operation is running). The timers: maincontexttimers.cpp.
    void stopRefreshTimer();
    // Starts the polling again with a fresh full interval; does nothing once sign-out has begun.
    void restartRefreshTimer();
    // Raises an event: the in-app text if its in-app switch is on (and the master switch off), the system
    // text if its system switch is on.
    // With actions, the system notification offers them where the desktop can, and `onResponse` hears the
    // user's choice (or a click on the notification).
    void raiseEvent(SessionEvent event, const QString &text, const QList<NotificationAction> &actions = {},
                    const NotificationResponse &onResponse = {});

    // --- Forwarded window services (maincontextshell.cpp) ---
    // An in-app notification unless disableAllNotifications is on. parentItem and alignment are accepted
    // for the views' calls; the window decides where the notification stack is.
    Q_INVOKABLE void notification(const QString &message, int level = 0, const QVariant &parentItem = {},
                                  int alignment = 0, int lifespan = 10000);
    void notify(const QString &message, Shell::Level level);
    Q_INVOKABLE void confirm(const QString &title, const QString &message, const QString &okText,
                             const QString &cancelText, const QJSValue &callback = QJSValue(),
                             const QJSValue &cancelCallback = QJSValue());
    void confirm(const QString &title, const QString &message, const QString &okText,
                 const QString &cancelText, std::function<void()> accepted, std::function<void()> cancelled);
    // A one-shot deferred call; dropped when the session has gone by then.
    Q_INVOKABLE void setTimeout(const QJSValue &callback, int delayMilliseconds);
    void setTimeout(std::function<void()> callback, int delayMilliseconds);

    // --- Computer list (maincontextlist.cpp) ---
    Q_INVOKABLE void listUserVMInstances();
    // Merges one list reply (an array, or an object whose values are the entries) into the records.
    Q_INVOKABLE void updateNewVmInstances(const QJsonValue &data);
    [[nodiscard]] ComputerOrdering::LessThan getCompareMachinesFunc() const;
    // The comparator for QML: negative, 0 or positive.
    Q_INVOKABLE [[nodiscard]] int compareMachines(Computer *a, Computer *b) const;
    Q_INVOKABLE void sortMachineModel(MachineListModel *model);
    Q_INVOKABLE void syncMachineModel(const QVariantList &machines, MachineListModel *model);
    void syncMachineModel(const QList<Computer *> &machines, MachineListModel *model);
    [[nodiscard]] Computer *computerById(qint64 identifier) const { return m_byId.value(identifier); }
    // Recomputes the derived lists and models now if something they read has changed.
    void flushDerivedLists();
    // How often the derived lists have been recomputed (one poll is meant to cost one).
    [[nodiscard]] int derivedListsRecomputations() const { return m_recomputations; }

    // --- Operations for views (maincontextactions.cpp) ---
    Q_INVOKABLE void startInstances(const QVariantList &computers);
    Q_INVOKABLE void stopInstances(const QVariantList &computers);
    Q_INVOKABLE void resetInstances(const QVariantList &computers);
    Q_INVOKABLE void deleteInstances(const QVariantList &computers);
    Q_INVOKABLE void performInstancesAction(const QVariantList &computers, const QString &verb,
                                            const QString &operationName,
                                            bool forceConfirmationPopup = false);
    void startInstances(const QList<Computer *> &computers);
    void stopInstances(const QList<Computer *> &computers);
    void resetInstances(const QList<Computer *> &computers);
    void deleteInstances(const QList<Computer *> &computers);
    void performInstancesAction(const QList<Computer *> &computers, const QString &verb,
                                const QString &operationName, bool forceConfirmationPopup = false);
    Q_INVOKABLE void insertVMInstance(const QString &computerName, int templateIdentifier,
                                      const QString &computerUsername, const QString &computerPassword);
    Q_INVOKABLE void getAvailableVmTemplateList();
    Q_INVOKABLE [[nodiscard]] ComputerTemplate *getComputerTemplateByIdentifier(int identifier) const;
    // Starts the Remote Desktop client; when it fails at once, says so as an error naming the computer.
    Q_INVOKABLE void openRdp(const QString &rdpFileContents, const QString &computerName = QString());
    // Stores a protected Windows password for a computer (the map is replaced whole).
    Q_INVOKABLE void storeEncryptedPassword(qint64 identifier, const QString &encryptedPassword);
    [[nodiscard]] QString encryptedPasswordFor(qint64 identifier) const;

    // --- Selection and the password dialogs (maincontextactions.cpp) ---
    // A card's selection click: with Shift the computer is added or removed; without it a selected
    // computer clears the whole selection and an unselected one becomes the only selected computer.
    Q_INVOKABLE void selectComputer(qint64 identifier, bool shiftModifier);
    // The deletion dialog's Ok: deletes the computers only when `accountPassword` is exactly the
    // signed-in account's password, otherwise shows the refusal. True when the deletions were sent.
    Q_INVOKABLE bool deleteWithAccountPassword(const QVariantList &computers, const QString &accountPassword);
    // The update-stored-password dialog's Ok: protects the password through the host and stores it for
    // the computer (the whole map is replaced). Nothing is sent to the service. False when it could not
    // be protected (then nothing is stored).
    Q_INVOKABLE bool updateStoredPassword(Computer *computer, const QString &password);
    // The reset-password dialog's Ok: refuses a password that contains the computer's user name (any
    // letter case), otherwise asks the service to reset it; on success the new password is stored as
    // by updateStoredPassword and `successCb` is called. True when the request was made.
    Q_INVOKABLE bool resetComputerPasswordTo(Computer *computer, const QString &newPassword,
                                             const QJSValue &successCb = QJSValue());

    // --- Foresight: hours left, the credit guard, the running-time reminder's answers
    //     (maincontextforesight.cpp) ---
    [[nodiscard]] double hoursLeft() const { return m_hoursLeft ? *m_hoursLeft : -1; }
    [[nodiscard]] QString hoursLeftText() const;
    // The account page's payments tab.
    Q_INVOKABLE void showPayments();
    // The computers page, with the window told to bring this computer's card into view.
    Q_INVOKABLE void showComputer(qint64 identifier);
    // The running-time reminder's answers: stop the computer at once (the notification was the question),
    // or remind again once it has run the same number of hours more.
    void stopFromReminder(qint64 identifier);
    void snoozeReminder(qint64 identifier, int hours);
    // True when a snoozed reminder of this computer falls due between the two run times (the snooze is then
    // used up); a run time that went down (a new power-on period) drops the snooze.
    bool takeSnoozedReminder(qint64 identifier, double previousMinutes, double newMinutes);

    // --- Sign-out ---
    Q_INVOKABLE void signOut();
    Q_INVOKABLE void resetPassword();
    [[nodiscard]] bool signingOutStarted() const { return m_signingOut; }

    // --- User data and banners (maincontextaccount.cpp) ---
    Q_INVOKABLE void updateUserData();
    Q_INVOKABLE void getBannerInfo();
    // What the two refreshes do with a reply: the "user_data" object and the "banners" list.
    void applyUserData(const QJsonObject &userData);
    void applyBanners(const QJsonValue &banners);

    // --- Payments, account forms and logs (maincontextpayments.cpp) ---
    [[nodiscard]] PaymentsController *payments() const { return m_payments; }
    [[nodiscard]] QList<UserPayment *> userPayments() const;
    [[nodiscard]] double romainianVatRate() const;
    [[nodiscard]] EmailPreferences *emailPreferences() const { return m_emailPreferences; }
    [[nodiscard]] ConnectionPreferences *connection() const { return m_connection; }
    Q_INVOKABLE void listUserPayments();
    Q_INVOKABLE void requestInvoice(int paymentId);
    Q_INVOKABLE void purchaseCredits(qint64 amount);
    Q_INVOKABLE void updateRomainianVatRate();
    Q_INVOKABLE [[nodiscard]] double getVatModifiedAmount(double amount) const;
    // The host logic of a log view, owned by (and gone with) the view that asks for it.
    Q_INVOKABLE LogsController *createAccountLogs(QObject *view);
    Q_INVOKABLE LogsController *createComputerLogs(QObject *view);
    // The profile form's editor, owned by the view; it shares this session's updatingUserData flag.
    Q_INVOKABLE ProfileEditor *createProfileEditor(QObject *view);

    // --- Properties ---
    [[nodiscard]] User *user() const { return m_user; }
    [[nodiscard]] int pageIndex() const { return m_pageIndex; }
    [[nodiscard]] int myAccountPageIndex() const { return m_myAccountPageIndex; }
    [[nodiscard]] bool confirmationPopupsEnabled() const { return m_confirmationPopupsEnabled; }
    [[nodiscard]] bool loadingComputers() const { return m_loadingComputers; }
    [[nodiscard]] bool loadingComputersInternal() const { return m_loadingComputersInternal; }
    [[nodiscard]] bool updatingUserData() const { return m_updatingUserData; }
    [[nodiscard]] QDateTime now() const { return m_now; }
    [[nodiscard]] QList<Computer *> computers() const { return m_computers; }
    [[nodiscard]] QList<qint64> selectedComputers() const { return m_selectedComputers; }
    [[nodiscard]] QList<ComputerTemplate *> computerTemplates() const { return m_computerTemplates; }
    [[nodiscard]] QList<int> filteredStatuses() const { return m_filteredStatuses; }
    [[nodiscard]] QList<int> filteredPlatforms() const { return m_filteredPlatforms; }
    [[nodiscard]] QList<Computer *> visibleComputers() const { return m_visibleComputers; }
    [[nodiscard]] QList<Computer *> visibleFavouriteComputers() const { return m_visibleFavouriteComputers; }
    [[nodiscard]] QList<Computer *> visibleStandardComputers() const { return m_visibleStandardComputers; }
    [[nodiscard]] MachineListModel *visibleFavouriteMachinesModel() const { return m_favouriteModel; }
    [[nodiscard]] MachineListModel *visibleStandardMachinesModel() const { return m_standardModel; }
    [[nodiscard]] QList<Computer *> startableComputers() const { return m_startableComputers; }
    [[nodiscard]] QList<Computer *> stoppableComputers() const { return m_stoppableComputers; }
    [[nodiscard]] QList<Computer *> deletableComputers() const { return m_deletableComputers; }
    [[nodiscard]] double currentBurnRate() const { return m_currentBurnRate; }
    [[nodiscard]] double selectedBurnRate() const { return m_selectedBurnRate; }
    [[nodiscard]] bool lowCreditsNotificationShown() const { return m_lowCreditsNotificationShown; }
    [[nodiscard]] bool creditsDepletedNotificationShown() const { return m_creditsDepletedNotificationShown; }
    [[nodiscard]] double oldCredits() const { return m_oldCredits; }
    [[nodiscard]] Banner *topBannerDark() const { return m_topBannerDark; }
    [[nodiscard]] Banner *topBannerLight() const { return m_topBannerLight; }
    [[nodiscard]] Banner *leftBannerDark() const { return m_leftBannerDark; }
    [[nodiscard]] Banner *leftBannerLight() const { return m_leftBannerLight; }
    [[nodiscard]] QTimer *refreshInstancesTimer() const { return m_refreshTimer; }
    [[nodiscard]] QTimer *bannerRefreshTimer() const { return m_bannerTimer; }
    [[nodiscard]] QTimer *nowTimer() const { return m_nowTimer; }

    void setPageIndex(int value);
    void setMyAccountPageIndex(int value);
    void setConfirmationPopupsEnabled(bool value);
    void setUpdatingUserData(bool value);
    void setSelectedComputers(const QList<qint64> &value);
    void setComputerTemplates(const QList<ComputerTemplate *> &value);

Q_SIGNALS:
    void userPaymentsChanged();
    void romainianVatRateChanged();
    void signingOut();
    // Emitted 4 s after signOut(): the window drops the user and this session.
    void signedOutRequested();
    // Emitted 4 s after resetPassword(): the window drops the user and opens the forgotten-password form.
    void resetPasswordRequested();
    void resetCachedPassword(Computer *computer);
    void resetComputerPassword(Computer *computer);
    void requestComputerDeletion(const QVariantList &computers);

    void pageIndexChanged();
    void myAccountPageIndexChanged();
    void confirmationPopupsEnabledChanged();
    void loadingComputersChanged();
    void loadingComputersInternalChanged();
    void updatingUserDataChanged();
    void nowChanged();
    void computersChanged();
    void selectedComputersChanged();
    void computerTemplatesChanged();
    void filteredStatusesChanged();
    void filteredPlatformsChanged();
    void visibleComputersChanged();
    void visibleFavouriteComputersChanged();
    void visibleStandardComputersChanged();
    void startableComputersChanged();
    void stoppableComputersChanged();
    void deletableComputersChanged();
    void currentBurnRateChanged();
    void selectedBurnRateChanged();
    void lowCreditsNotificationShownChanged();
    void creditsDepletedNotificationShownChanged();
    void oldCreditsChanged();
    void creditForecastChanged();
    // After each recomputation of the lists and each balance change: what a summary of the session (the
    // tray) shows may have changed.
    void overviewChanged();
    // The window brings this computer's card into view.
    void computerRevealRequested(qint64 identifier);

private:
    // Sets up and starts the polling, the banner refresh and the clock.
    void startTimers();
    void startSignOut(bool toPasswordReset);
    void setLoadingFlags(bool internal, bool visible);
    void onListLoaded(const QJsonValue &data);
    void adoptComputer(Computer *computer);
    // Marks the derived lists stale; they are recomputed once when control returns to the event loop.
    void scheduleDerivedLists();
    void recomputeDerivedLists();
    void onUserCreditsChanged();
    // Hours left and the guard, after the balance or the burn rate changed.
    void updateCreditForecast();
    // The reminder says `runningHours`; "Keep running" snoozes it for `snoozeHours`.
    void raiseRunningReminder(Computer *computer, const QString &name, int runningHours, int snoozeHours);
    void setUpPayments();
    [[nodiscard]] static QList<Computer *> computersFrom(const QVariantList &list);

    ApiClient *m_api = nullptr;
    Shell *m_shell = nullptr;
    // What the controllers of this session notify through: it obeys disableAllNotifications.
    std::unique_ptr<SessionShell> m_sessionShell;
    const HostServices *m_host = nullptr;
    QPointer<User> m_user;

    int m_pageIndex = Computers;
    int m_myAccountPageIndex = 0;
    bool m_confirmationPopupsEnabled = true;
    bool m_loadingComputers = true;
    bool m_loadingComputersInternal = true;
    bool m_updatingUserData = false;
    bool m_signingOut = false;
    QDateTime m_now;

    QList<Computer *> m_computers;
    QHash<qint64, Computer *> m_byId;
    QList<Computer *> m_recordByPosition; // the record each entry of the last reply went to
    QList<qint64> m_selectedComputers;
    QList<ComputerTemplate *> m_computerTemplates;

    bool m_merging = false;
    bool m_derivedDirty = false;
    bool m_derivedScheduled = false;
    int m_recomputations = 0;
    QList<int> m_filteredStatuses;
    QList<int> m_filteredPlatforms;
    QList<Computer *> m_visibleComputers;
    QList<Computer *> m_visibleFavouriteComputers;
    QList<Computer *> m_visibleStandardComputers;
    QList<Computer *> m_startableComputers;
    QList<Computer *> m_stoppableComputers;
    QList<Computer *> m_deletableComputers;
    double m_currentBurnRate = 0;
    double m_selectedBurnRate = 0;
    MachineListModel *m_favouriteModel = nullptr;
    MachineListModel *m_standardModel = nullptr;

    bool m_lowCreditsNotificationShown = false;
    bool m_creditsDepletedNotificationShown = false;
    double m_oldCredits = 0;
    bool m_anyRunning = false;
    std::optional<double> m_hoursLeft;
    bool m_creditGuardArmed = true;
    // Run time (minutes) at which a snoozed running-time reminder is due again, by computer.
    QHash<qint64, double> m_reminderDueMinutes;

    Banner *m_topBannerDark = nullptr;
    Banner *m_topBannerLight = nullptr;
    Banner *m_leftBannerDark = nullptr;
    Banner *m_leftBannerLight = nullptr;

    PaymentsController *m_payments = nullptr;
    EmailPreferences *m_emailPreferences = nullptr;
    ConnectionPreferences *m_connection = nullptr;

    QTimer *m_refreshTimer = nullptr;
    QTimer *m_bannerTimer = nullptr;
    QTimer *m_nowTimer = nullptr;
};
