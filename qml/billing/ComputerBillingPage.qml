import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import Vantorix
import Vantorix.Core

// The details popup's billing page: the running session's cost (while the computer runs), the running,
// idle and total costs, the current price period (unless the computer is deleted) and the earlier
// price periods, newest first. Every figure follows the computer as the session's polling updates it.
ScrollView {
    id: page

    required property Computer computer

    readonly property var historyRows: BillingFormat.priceHistoryRows(computer.priceHistoryStr)
    readonly property alias sessionRow: sessionRow
    readonly property alias runningRow: runningRow
    readonly property alias idleRow: idleRow
    readonly property alias totalRow: totalRow
    readonly property alias historyTitle: historyTitle
    readonly property alias currentPeriod: currentPeriod
    readonly property alias pastPeriods: pastPeriods

    contentWidth: availableWidth
    clip: true
    ScrollBar.vertical.policy: ScrollBar.AlwaysOn
    ScrollBar.horizontal.policy: ScrollBar.AlwaysOff
    Component.onCompleted: {
        if (contentItem instanceof Flickable)
            contentItem.boundsBehavior = Flickable.StopAtBounds
    }

    Column {
        id: content
        x: 20 + Math.max(0, (page.availableWidth - 40 - width) / 2)
        width: Math.max(0, Math.min(800, page.availableWidth - 40))
        topPadding: 20
        bottomPadding: 20
        spacing: 20

        // The running session, framed: only while the computer is powered on.
        Column {
            id: sessionBlock
            width: parent.width
            visible: BillingFormat.showsSessionRow(page.computer.isPoweredOn)
            spacing: 20

            BillingValueRow {
                id: sessionRow
                objectName: "sessionCostRow"
                width: parent.width
                caption: "Current Running Session Cost"
                helpText: "Current running session cost is the amount you have been billed for this machine since it last started."
                value: BillingFormat.sessionCostText(page.computer.sessionRunTime, page.computer.computerPowerOnRate)
                detail: BillingFormat.sessionDetailText(page.computer.sessionRunTime, page.computer.computerPowerOnRate)

                Rectangle {
                    anchors.fill: parent
                    anchors.margins: -10
                    color: "transparent"
                    border.width: 2
                    border.color: Material.accent
                    radius: 3
                }
            }
            Rectangle {
                width: parent.width
                height: 1
                color: Material.color(Material.Grey, Material.Shade200)
            }
        }

        BillingValueRow {
            id: runningRow
            objectName: "runningCostRow"
            width: parent.width
            caption: "Total Running Cost"
            helpText: "Running cost is the amount you have been billed for this machine during the total time it has been running. This includes the current session if the machine is still running."
            value: BillingFormat.creditsText(page.computer.computerPowerOnCost)
            detail: BillingFormat.approxText(page.computer.computerPowerOnTime)
        }
        BillingValueRow {
            id: idleRow
            objectName: "idleCostRow"
            width: parent.width
            caption: "Total Idle Cost"
            helpText: "Idle cost is the amount you have been billed for this machine when it was not running. A small charge is applied to all computers even when stopped to cover storage costs."
            value: BillingFormat.creditsText(page.computer.computerIdleCost)
            detail: BillingFormat.approxText(page.computer.computerIdleTime)
        }
        Rectangle {
            width: parent.width
            height: 1
            color: Material.color(Material.Grey, Material.Shade200)
        }
        BillingValueRow {
            id: totalRow
            objectName: "totalCostRow"
            width: parent.width
            caption: "Total Cost"
            value: BillingFormat.creditsText(page.computer.computerTotalCost)
        }
        Item {
            width: 1
            height: 20
        }

        Column {
            id: historyTitle
            objectName: "billingHistoryTitle"
            width: parent.width
            visible: BillingFormat.showsPriceHistory(page.computer.priceHistoryStr)
            spacing: 5
            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 10
                Label {
                    anchors.verticalCenter: parent.verticalCenter
                    text: "Billing History"
                }
                HelpButton {
                    anchors.verticalCenter: parent.verticalCenter
                    toolTipText: "Below you can see the billing history and the price changes of your machine. If at a point in time the price of your machine was changed, it will be displayed in this area."
                }
            }
            Rectangle {
                width: parent.width
                height: 1
                color: Material.color(Material.Grey, Material.Shade800)
            }
        }

        BillingPeriodBlock {
            id: currentPeriod
            objectName: "currentPeriod"
            width: parent.width
            visible: BillingFormat.showsCurrentPeriod(page.computer.status === Computer.Deleted)
            title: BillingFormat.currentPeriodTitle(page.computer.computerLastDatePs)
            runningCost: BillingFormat.periodCostText(page.computer.computerPowerOnCostPs)
            runningDetail: BillingFormat.periodDetailText(page.computer.computerPowerOnTimePs,
                                                          page.computer.computerPowerOnRate)
            idleCost: BillingFormat.periodCostText(page.computer.computerIdleCostPs)
            idleDetail: BillingFormat.periodDetailText(page.computer.computerIdleTimePs,
                                                       page.computer.computerIdleRate)
        }

        Repeater {
            id: pastPeriods
            model: page.historyRows

            delegate: BillingPeriodBlock {
                required property var modelData
                objectName: "pastPeriod"
                width: content.width
                title: modelData.title
                runningCost: modelData.runningCost
                runningDetail: modelData.runningDetail
                idleCost: modelData.idleCost
                idleDetail: modelData.idleDetail
            }
        }
    }
}
