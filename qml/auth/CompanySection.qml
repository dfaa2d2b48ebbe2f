import QtQuick
import QtQuick.Controls
import QtQuick.Controls.Material
import QtQuick.Layouts
import Vantorix
import Vantorix.Core

// The sign-up form's company section: the EU VAT exemption, the VAT number with its check, the company
// name and the address with the country. Opens and closes under its toggle.
ColumnLayout {
    id: section

    required property Item view
    property bool showExtraOptions: false
    property bool vatValidated: false
    // The country chosen last; kept when the entries change.
    property string previousValue: ""
    readonly property string sanitizedValue: vatField.text.toUpperCase().trim()
    readonly property bool euResident: euCheck.checked
    readonly property string country: countryBox.currentText
    readonly property alias companyName: companyNameField.text
    readonly property alias companyAddress: companyAddressField.text
    readonly property alias euCheck: euCheck
    readonly property alias vatField: vatField
    readonly property alias validateButton: validateButton
    readonly property alias countryBox: countryBox
    // How much of the section's height the drawer takes at the moment (0 while closed).
    readonly property real drawerHeight: drawer.height
    readonly property var countryNames: {
        view.main.countries // the entries follow the list
        return view.main.countryService.countryNames(euCheck.checked)
    }

    // What a VAT check answered; see CountryService.interpretVatInfo.
    function applyVatInfo(answer) {
        const result = view.main.countryService.interpretVatInfo(answer)
        if (!result.validated) {
            vatValidated = false
            view.main.notification(result.message, Notification.Level.Error)
            return
        }
        if (result.companyName !== "")
            companyNameField.text = result.companyName
        if (result.companyAddress !== "")
            companyAddressField.text = result.companyAddress
        const index = countryNames.indexOf(result.countryName)
        if (index >= 0) {
            countryBox.currentIndex = index
            previousValue = result.countryName
        }
        vatValidated = true
    }
    function validateVat() {
        view.main.confirm("Validate",
                          "If validation succeeds the company address and country will be replaced with the validated ones.",
                          "Ok", "Cancel", () => {
                              const checked = section.sanitizedValue
                              view.main.getVATInfo(checked, answer => {
                                  // The field was edited while the check ran: the answer is about
                                  // another number and must not validate this one.
                                  if (checked !== section.sanitizedValue) {
                                      console.info("A VAT check answer for a number no longer in the form is ignored")
                                      return
                                  }
                                  section.applyVatInfo(answer)
                              })
                          })
    }
    function keepSelection() {
        const index = view.main.countryService.keptSelection(countryNames, previousValue)
        countryBox.currentIndex = index
        previousValue = index >= 0 ? countryNames[index] : ""
    }

    spacing: 0

    ToolButton {
        objectName: "companyToggle"
        // Its text is in the accent colour: the one that reads on this theme's background.
        Material.accent: Utils.styles.accentTextColor
        text: "this is a company account"
        font.capitalization: Font.MixedCase
        flat: true
        highlighted: true
        LayoutMirroring.enabled: true
        icon.source: section.showExtraOptions ? "qrc:///assets/icons/expand_more-black-18dp.svg"
                                              : "qrc:///assets/icons/navigate_next-black-18dp.svg"
        onClicked: section.showExtraOptions = !section.showExtraOptions
    }

    Item {
        id: drawer
        objectName: "companyDrawer"
        Layout.fillWidth: true
        Layout.preferredHeight: section.showExtraOptions ? companyColumn.implicitHeight : 0
        clip: true
        Behavior on Layout.preferredHeight {
            NumberAnimation {
                duration: 300
                easing.type: Easing.InOutCubic
            }
        }

        Rectangle {
            width: 4
            height: parent.height
            color: Material.color(Material.Grey, Material.Shade200)
        }

        ColumnLayout {
            id: companyColumn
            x: 10
            width: drawer.width - 10
            spacing: 5

            InputFieldRight {
                label: "EU company VAT exemption "
                toolTip: "Enable only if your company is based in the EU and has a valid VAT number."
                CheckBox {
                    id: euCheck
                    objectName: "euCheck"
                }
            }
            InputField {
                Layout.fillWidth: true
                label: "VAT Number"
                RowLayout {
                    width: parent.width
                    TextField {
                        id: vatField
                        objectName: "vatField"
                        Layout.fillWidth: true
                        placeholderText: "Valid VAT number (ex. DEXXXXXXXX)"
                        font.capitalization: Font.AllUppercase
                        selectByMouse: true
                        onTextEdited: section.vatValidated = false
                    }
                    Button {
                        id: validateButton
                        objectName: "validateVatButton"
                        visible: euCheck.checked
                        text: section.vatValidated ? "Valid ✓" : "Validate"
                        enabled: !section.vatValidated
                        highlighted: !section.vatValidated
                        onClicked: section.validateVat()
                    }
                }
            }
            InputField {
                Layout.fillWidth: true
                label: "Company Name"
                TextField {
                    id: companyNameField
                    objectName: "companyNameField"
                    width: parent.width
                    placeholderText: "Please enter your Company Name"
                    selectByMouse: true
                }
            }
            InputField {
                Layout.fillWidth: true
                label: "Company Address"
                ComboBox {
                    id: countryBox
                    objectName: "countryBox"
                    width: parent.width
                    model: section.countryNames
                    // Runs after the box has taken the new entries (it resets its selection first).
                    onModelChanged: section.keepSelection()
                    onActivated: index => {
                        section.previousValue = textAt(index)
                        if (vatField.text !== "") {
                            vatField.text = ""
                            section.vatValidated = false
                            section.view.notifyTop("VAT number reset due to country change.",
                                                   Notification.Level.Error)
                        }
                    }
                }
                TextField {
                    id: companyAddressField
                    objectName: "companyAddressField"
                    width: parent.width
                    placeholderText: "Please enter your Company Address"
                    selectByMouse: true
                }
            }
        }
    }
}
