#pragma once

#include "computer/computerdata.h"

#include <QCborMap>
#include <QJSValue>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

class MainContext;
struct ApiHandlers;

// One cloud computer (a virtual machine instance) of the signed-in account.
//
// The enumerations and their fixed tables (service strings, labels, ordering ranks, icons) live in the
// first section; they are the one table every part of the client uses. The record's properties and the
// operations on one computer follow in the second section. The record itself is in computer.cpp, what its
// fields imply (burn rate, capabilities, texts) in computerderived.cpp, the operations in
// computeroperations.cpp.
class Computer : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_MOC_INCLUDE("session/maincontext.h")

    // Mirrored from the service's computer list. The identifier is 64-bit in C++ (requests, stored
    // passwords, the merge); QML sees it as a number, exact up to 2^53.
    Q_PROPERTY(qint64 identifier READ identifier WRITE setIdentifier NOTIFY identifierChanged)
    Q_PROPERTY(QString userInstanceName READ userInstanceName WRITE setUserInstanceName NOTIFY
                   userInstanceNameChanged)
    Q_PROPERTY(QString userInstanceTitle READ userInstanceTitle WRITE setUserInstanceTitle NOTIFY
                   userInstanceTitleChanged)
    Q_PROPERTY(QString instanceName READ instanceName WRITE setInstanceName NOTIFY instanceNameChanged)
    Q_PROPERTY(int platform READ platform WRITE setPlatform NOTIFY platformChanged)
    Q_PROPERTY(QString osVersionInfo READ osVersionInfo WRITE setOsVersionInfo NOTIFY osVersionInfoChanged)
    Q_PROPERTY(int templateIdentifier READ templateIdentifier WRITE setTemplateIdentifier NOTIFY
                   templateIdentifierChanged)
    Q_PROPERTY(int status READ status WRITE setStatus NOTIFY statusChanged)
    Q_PROPERTY(qint64 createdTime READ createdTime WRITE setCreatedTime NOTIFY createdTimeChanged)
    Q_PROPERTY(
        qint64 lastStartedTime READ lastStartedTime WRITE setLastStartedTime NOTIFY lastStartedTimeChanged)
    Q_PROPERTY(bool isFavourite READ isFavourite WRITE setIsFavourite NOTIFY isFavouriteChanged)
    Q_PROPERTY(QString username READ username WRITE setUsername NOTIFY usernameChanged)
    Q_PROPERTY(QString rdpPublicAddress READ rdpPublicAddress WRITE setRdpPublicAddress NOTIFY
                   rdpPublicAddressChanged)
    Q_PROPERTY(
        int computerIdleTime READ computerIdleTime WRITE setComputerIdleTime NOTIFY computerIdleTimeChanged)
    Q_PROPERTY(int computerPowerOnTime READ computerPowerOnTime WRITE setComputerPowerOnTime NOTIFY
                   computerPowerOnTimeChanged)
    Q_PROPERTY(double computerPowerOnRate READ computerPowerOnRate WRITE setComputerPowerOnRate NOTIFY
                   computerPowerOnRateChanged)
    Q_PROPERTY(double computerPowerOnCost READ computerPowerOnCost WRITE setComputerPowerOnCost NOTIFY
                   computerPowerOnCostChanged)
    Q_PROPERTY(double computerIdleCost READ computerIdleCost WRITE setComputerIdleCost NOTIFY
                   computerIdleCostChanged)
    Q_PROPERTY(double computerIdleRate READ computerIdleRate WRITE setComputerIdleRate NOTIFY
                   computerIdleRateChanged)
    Q_PROPERTY(double computerTotalCost READ computerTotalCost WRITE setComputerTotalCost NOTIFY
                   computerTotalCostChanged)
    Q_PROPERTY(double sessionRunTime READ sessionRunTime WRITE setSessionRunTime NOTIFY sessionRunTimeChanged)
    Q_PROPERTY(int computerPowerOnTimePs READ computerPowerOnTimePs WRITE setComputerPowerOnTimePs NOTIFY
                   computerPowerOnTimePsChanged)
    Q_PROPERTY(int computerIdleTimePs READ computerIdleTimePs WRITE setComputerIdleTimePs NOTIFY
                   computerIdleTimePsChanged)
    Q_PROPERTY(double computerPowerOnCostPs READ computerPowerOnCostPs WRITE setComputerPowerOnCostPs NOTIFY
                   computerPowerOnCostPsChanged)
    Q_PROPERTY(double computerIdleCostPs READ computerIdleCostPs WRITE setComputerIdleCostPs NOTIFY
                   computerIdleCostPsChanged)
    Q_PROPERTY(QString computerLastDatePs READ computerLastDatePs WRITE setComputerLastDatePs NOTIFY
                   computerLastDatePsChanged)
    Q_PROPERTY(
        QString priceHistoryStr READ priceHistoryStr WRITE setPriceHistoryStr NOTIFY priceHistoryStrChanged)

    // Derived, read-only.
    Q_PROPERTY(bool isPoweredOn READ isPoweredOn NOTIFY statusChanged)
    Q_PROPERTY(double currentBurnRate READ currentBurnRate NOTIFY currentBurnRateChanged)
    Q_PROPERTY(bool canStart READ canStart NOTIFY capabilitiesChanged)
    Q_PROPERTY(bool canStop READ canStop NOTIFY capabilitiesChanged)
    Q_PROPERTY(bool canDelete READ canDelete NOTIFY capabilitiesChanged)

    // Busy flags: a power operation, a favourite change, a rename or password reset is pending.
    Q_PROPERTY(bool statusChanging READ statusChanging WRITE setStatusChanging NOTIFY statusChangingChanged)
    Q_PROPERTY(bool favouriteStatusChanging READ favouriteStatusChanging WRITE setFavouriteStatusChanging
                   NOTIFY favouriteStatusChangingChanged)
    Q_PROPERTY(bool vmDataChanging READ vmDataChanging WRITE setVmDataChanging NOTIFY vmDataChangingChanged)

    // The desktop preview, double-buffered: the shown buffer is never replaced while the next image loads.
    Q_PROPERTY(bool screenShotUseBuffer1 READ screenShotUseBuffer1 WRITE setScreenShotUseBuffer1 NOTIFY
                   screenShotUseBuffer1Changed)
    Q_PROPERTY(QString b64ScreenshotBuffer1 READ b64ScreenshotBuffer1 WRITE setB64ScreenshotBuffer1 NOTIFY
                   b64ScreenshotBuffer1Changed)
    Q_PROPERTY(QString b64ScreenshotBuffer2 READ b64ScreenshotBuffer2 WRITE setB64ScreenshotBuffer2 NOTIFY
                   b64ScreenshotBuffer2Changed)

public:
    // ---------------------------------------------------------------------------------------------
    // Enumerations (tables in computerenums.cpp)
    // ---------------------------------------------------------------------------------------------

    // The instance states the cloud provider reports, passed through by the service.
    enum Status {
        PendingProvisioning = 0,
        Provisioning = 1,
        Staging = 2,
        Running = 3,
        Stopping = 4,
        Suspending = 5,
        Suspended = 6,
        Repairing = 7,
        Terminated = 8,
        Deleted = 9,
    };
    Q_ENUM(Status)

    enum Platform {
        Windows = 0,
        Linux = 1,
        Mac = 2,
    };
    Q_ENUM(Platform)

    // What the computers page orders by (persisted as a number).
    enum SortableProperty {
        LastStartedTime = 0,
        UserInstanceName = 1,
        StatusProperty = 2,
    };
    Q_ENUM(SortableProperty)

    // Label shown to the user; "NA" for a value outside the enumeration.
    [[nodiscard]] static QString statusLabel(int status);
    // Rank when ordering by status, lower first; 9 for a value outside the enumeration.
    [[nodiscard]] static int statusOrder(int status);
    // The service's status string ("running", ...); empty for a value outside the enumeration.
    [[nodiscard]] static QString statusServiceString(int status);
    // The session preference that hides computers in this status ("filterStatusRunning", ...); empty
    // for a value outside the enumeration.
    [[nodiscard]] static QString statusHidingFilter(int status);
    // Exact (already lower-cased) lookup of a service status string; no value when unknown. Utils adds
    // the lenient reading and the log line on top of this.
    [[nodiscard]] static std::optional<Status> statusFromServiceString(const QString &text);

    // "Windows", "Linux", "Mac"; "NA" for a value outside the enumeration.
    [[nodiscard]] static QString platformLabel(int platform);
    // Icon resource of the platform; empty when it has none.
    [[nodiscard]] static QString platformIcon(int platform);
    [[nodiscard]] static QString platformServiceString(int platform);
    [[nodiscard]] static std::optional<Platform> platformFromServiceString(const QString &text);

    // Menu text of an ordering ("Order by activity", ...); empty for a value outside the enumeration.
    [[nodiscard]] static QString sortablePropertyText(int property);

    // ---------------------------------------------------------------------------------------------
    // The record
    // ---------------------------------------------------------------------------------------------

    explicit Computer(QObject *parent = nullptr);
    Computer(const ComputerData &data, QObject *parent);

    // The mirrored fields at once (the list merge): every field except the identifier is assigned; only
    // real changes emit.
    void assign(const ComputerData &data);
    [[nodiscard]] const ComputerData &data() const { return m_data; }
    // The list entry the mirrored fields were last read from. A poll whose entry equals it has nothing
    // to apply; a field changed here (an operation's optimistic status, a rename) forgets it, so that the
    // next poll applies the service's values again.
    void setSourceEntry(const QCborMap &entry);
    [[nodiscard]] bool isSourceEntry(const QCborMap &entry) const;

    // Look-ups of the current status and platform in the tables above.
    Q_INVOKABLE [[nodiscard]] QString getStatusLabel() const { return statusLabel(m_data.status); }
    Q_INVOKABLE [[nodiscard]] int getStatusOrder() const { return statusOrder(m_data.status); }
    Q_INVOKABLE [[nodiscard]] QString getPlatformLabel() const { return platformLabel(m_data.platform); }
    Q_INVOKABLE [[nodiscard]] QString getPlatformIcon() const { return platformIcon(m_data.platform); }

    // The card's "Started ..." / "Last started ..." text for a start at `lastStartedSeconds` seen at
    // `nowSeconds` (both seconds since the epoch). A start in the future counts as just now, since the
    // service's clock and ours may differ.
    [[nodiscard]] static QString lastStartedText(int status, qint64 lastStartedSeconds, qint64 nowSeconds);
    // The same for this computer, seen now.
    Q_INVOKABLE [[nodiscard]] QString lastStartedDescription() const;

    // Operations (computeroperations.cpp). Each takes the session it runs in; none returns a result:
    // outcomes show as property changes, notifications and callbacks. Views reach the power operations
    // through the session's bulk operations, which ask for confirmation.
    Q_INVOKABLE void startUserVMInstance(MainContext *mainContext);
    Q_INVOKABLE void stopUserVMInstance(MainContext *mainContext);
    Q_INVOKABLE void resetUserVMInstance(MainContext *mainContext);
    Q_INVOKABLE void deleteUserVMInstance(MainContext *mainContext);
    Q_INVOKABLE void setFavouriteStatus(bool value, MainContext *mainContext);
    // Rename; successCb (a function) is called without arguments after success.
    Q_INVOKABLE void editVMInstance(const QString &newUserInstanceName, MainContext *mainContext,
                                    const QJSValue &successCb = QJSValue());
    // Windows password reset; successCb (optional) is called without arguments after success.
    Q_INVOKABLE void resetPassword(const QString &newPassword, MainContext *mainContext,
                                   const QJSValue &successCb = QJSValue());
    Q_INVOKABLE void updateScreenshot(MainContext *mainContext);
    Q_INVOKABLE void connectViaRDP(MainContext *mainContext);

    // The C++ forms of rename and password reset.
    void rename(const QString &newUserInstanceName, MainContext *mainContext,
                std::function<void()> successCb);
    void resetWindowsPassword(const QString &newPassword, MainContext *mainContext,
                              std::function<void()> successCb);

    // The Remote Desktop connection text (RdpConnectionFile): address and user name, plus the stored
    // protected password and the application mode line when one is given. Lines end in CR LF except the
    // last.
    [[nodiscard]] QString rdpFileContents(const QString &encryptedPassword,
                                          const QStringList &displayLines = {}) const;
    // The address and the user name hold no control character, so the connection text has exactly the
    // lines this program writes.
    [[nodiscard]] bool hasSafeConnectionData() const;

    [[nodiscard]] qint64 identifier() const { return m_data.identifier; }
    [[nodiscard]] QString userInstanceName() const { return m_data.userInstanceName; }
    [[nodiscard]] QString userInstanceTitle() const { return m_data.userInstanceTitle; }
    [[nodiscard]] QString instanceName() const { return m_data.instanceName; }
    [[nodiscard]] int platform() const { return m_data.platform; }
    [[nodiscard]] QString osVersionInfo() const { return m_data.osVersionInfo; }
    [[nodiscard]] int templateIdentifier() const { return m_data.templateIdentifier; }
    [[nodiscard]] int status() const { return m_data.status; }
    [[nodiscard]] qint64 createdTime() const { return m_data.createdTime; }
    [[nodiscard]] qint64 lastStartedTime() const { return m_data.lastStartedTime; }
    [[nodiscard]] bool isFavourite() const { return m_data.isFavourite; }
    [[nodiscard]] QString username() const { return m_data.username; }
    [[nodiscard]] QString rdpPublicAddress() const { return m_data.rdpPublicAddress; }
    [[nodiscard]] int computerIdleTime() const { return m_data.computerIdleTime; }
    [[nodiscard]] int computerPowerOnTime() const { return m_data.computerPowerOnTime; }
    [[nodiscard]] double computerPowerOnRate() const { return m_data.computerPowerOnRate; }
    [[nodiscard]] double computerPowerOnCost() const { return m_data.computerPowerOnCost; }
    [[nodiscard]] double computerIdleCost() const { return m_data.computerIdleCost; }
    [[nodiscard]] double computerIdleRate() const { return m_data.computerIdleRate; }
    [[nodiscard]] double computerTotalCost() const { return m_data.computerTotalCost; }
    [[nodiscard]] double sessionRunTime() const { return m_data.sessionRunTime; }
    [[nodiscard]] int computerPowerOnTimePs() const { return m_data.computerPowerOnTimePs; }
    [[nodiscard]] int computerIdleTimePs() const { return m_data.computerIdleTimePs; }
    [[nodiscard]] double computerPowerOnCostPs() const { return m_data.computerPowerOnCostPs; }
    [[nodiscard]] double computerIdleCostPs() const { return m_data.computerIdleCostPs; }
    [[nodiscard]] QString computerLastDatePs() const { return m_data.computerLastDatePs; }
    [[nodiscard]] QString priceHistoryStr() const { return m_data.priceHistoryStr; }
    [[nodiscard]] bool isPoweredOn() const { return m_data.status == Running; }
    [[nodiscard]] double currentBurnRate() const;
    [[nodiscard]] bool canStart() const;
    [[nodiscard]] bool canStop() const;
    [[nodiscard]] bool canDelete() const;
    [[nodiscard]] bool statusChanging() const { return m_statusChanging; }
    [[nodiscard]] bool favouriteStatusChanging() const { return m_favouriteStatusChanging; }
    [[nodiscard]] bool vmDataChanging() const { return m_vmDataChanging; }
    [[nodiscard]] bool screenShotUseBuffer1() const { return m_screenShotUseBuffer1; }
    [[nodiscard]] QString b64ScreenshotBuffer1() const { return m_b64ScreenshotBuffer1; }
    [[nodiscard]] QString b64ScreenshotBuffer2() const { return m_b64ScreenshotBuffer2; }

    void setIdentifier(qint64 value);
    void setUserInstanceName(const QString &value);
    void setUserInstanceTitle(const QString &value);
    void setInstanceName(const QString &value);
    void setPlatform(int value);
    void setOsVersionInfo(const QString &value);
    void setTemplateIdentifier(int value);
    void setStatus(int value);
    void setCreatedTime(qint64 value);
    void setLastStartedTime(qint64 value);
    void setIsFavourite(bool value);
    void setUsername(const QString &value);
    void setRdpPublicAddress(const QString &value);
    void setComputerIdleTime(int value);
    void setComputerPowerOnTime(int value);
    void setComputerPowerOnRate(double value);
    void setComputerPowerOnCost(double value);
    void setComputerIdleCost(double value);
    void setComputerIdleRate(double value);
    void setComputerTotalCost(double value);
    void setSessionRunTime(double value);
    void setComputerPowerOnTimePs(int value);
    void setComputerIdleTimePs(int value);
    void setComputerPowerOnCostPs(double value);
    void setComputerIdleCostPs(double value);
    void setComputerLastDatePs(const QString &value);
    void setPriceHistoryStr(const QString &value);
    void setStatusChanging(bool value);
    void setFavouriteStatusChanging(bool value);
    void setVmDataChanging(bool value);
    void setScreenShotUseBuffer1(bool value);
    void setB64ScreenshotBuffer1(const QString &value);
    void setB64ScreenshotBuffer2(const QString &value);

Q_SIGNALS:
    void identifierChanged();
    void userInstanceNameChanged();
    void userInstanceTitleChanged();
    void instanceNameChanged();
    void platformChanged();
    void osVersionInfoChanged();
    void templateIdentifierChanged();
    void statusChanged();
    void createdTimeChanged();
    void lastStartedTimeChanged();
    void isFavouriteChanged();
    void usernameChanged();
    void rdpPublicAddressChanged();
    void computerIdleTimeChanged();
    void computerPowerOnTimeChanged();
    void computerPowerOnRateChanged();
    void computerPowerOnCostChanged();
    void computerIdleCostChanged();
    void computerIdleRateChanged();
    void computerTotalCostChanged();
    void sessionRunTimeChanged();
    void computerPowerOnTimePsChanged();
    void computerIdleTimePsChanged();
    void computerPowerOnCostPsChanged();
    void computerIdleCostPsChanged();
    void computerLastDatePsChanged();
    void priceHistoryStrChanged();
    void currentBurnRateChanged();
    void capabilitiesChanged();
    void statusChangingChanged();
    void favouriteStatusChangingChanged();
    void vmDataChangingChanged();
    void screenShotUseBuffer1Changed();
    void b64ScreenshotBuffer1Changed();
    void b64ScreenshotBuffer2Changed();
    // Something the session's lists depend on changed: status, platform, name, favourite flag, last
    // start, a rate or the pending-operation flag (not the preview or the costs).
    void listInputsChanged();

private:
    enum class PowerOperation { Start, Stop, Reset, Delete };

    // Marks a rename or password reset in flight; the handlers clear the mark and resume polling.
    ApiHandlers beginDataChange(MainContext *mainContext);

    template <typename T> bool update(T &member, const T &value, void (Computer::*changed)())
    {
        if (member == value)
            return false;
        member = value;
        Q_EMIT(this->*changed)();
        return true;
    }
    template <typename T> bool updateField(T &member, const T &value, void (Computer::*changed)())
    {
        if (member == value)
            return false;
        if (!m_assigning)
            m_hasSourceEntry = false;
        return update(member, value, changed);
    }
    void runPowerOperation(PowerOperation operation, MainContext *mainContext);
    void applyPowerSuccess(PowerOperation operation, const QString &successText, MainContext *mainContext);

    ComputerData m_data;
    QCborMap m_sourceEntry;
    bool m_hasSourceEntry = false;
    bool m_assigning = false;
    bool m_statusChanging = false;
    bool m_favouriteStatusChanging = false;
    bool m_vmDataChanging = false;
    bool m_screenShotUseBuffer1 = true;
    bool m_previewFailureLogged = false;
    QString m_b64ScreenshotBuffer1;
    QString m_b64ScreenshotBuffer2;
};
