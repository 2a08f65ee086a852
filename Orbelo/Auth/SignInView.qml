import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import DesignKit
import OrbeloModels

// Sign in, create an account, confirm it with the emailed code and finish it, pass the second
// factor, or reset a forgotten password with an emailed code.
Rectangle {
    id: view
    color: Theme.color.background

    SignInViewModel { id: model }

    readonly property bool asksForCredentials: model.modeName === "signIn" || model.modeName === "signUp"
    readonly property bool asksForEmail: asksForCredentials || model.modeName === "resetPassword"
    readonly property bool asksForPassword: asksForCredentials || model.modeName === "newPassword"
    readonly property bool asksForCode: ["verify", "secondFactor", "newPassword"].indexOf(model.modeName) >= 0
    readonly property bool resetsPassword: model.modeName === "resetPassword" || model.modeName === "newPassword"
    readonly property bool waitsForBrowser: model.browser.isGoogleSigningIn || model.browser.isAppleSigningIn
    readonly property bool busy: model.form.isSubmitting || waitsForBrowser

    // A soft accent wash behind the card.
    Rectangle {
        anchors.fill: parent
        gradient: Gradient {
            GradientStop { position: 0; color: Theme.color.accentSoft }
            GradientStop { position: 0.6; color: Theme.color.background }
        }
    }

    Rectangle {
        id: card
        anchors.centerIn: parent
        width: 420
        height: form.implicitHeight + Theme.spacing.xxl * 2
        radius: Theme.radius.large
        color: Theme.color.surface
        border.color: Theme.color.separator

        ColumnLayout {
            id: form
            anchors.fill: parent
            anchors.margins: Theme.spacing.xxl
            spacing: Theme.spacing.l

            BrandMark {
                Layout.alignment: Qt.AlignHCenter
                size: 56
            }
            ColumnLayout {
                Layout.fillWidth: true
                spacing: Theme.spacing.xs
                Text {
                    Layout.fillWidth: true
                    text: model.title
                    horizontalAlignment: Text.AlignHCenter
                    color: Theme.color.textPrimary
                    font.pixelSize: Theme.font.title
                    font.weight: Font.Bold
                    Accessible.role: Accessible.Heading
                    Accessible.name: text
                }
                Text {
                    Layout.fillWidth: true
                    text: model.subtitle
                    horizontalAlignment: Text.AlignHCenter
                    wrapMode: Text.WordWrap
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.body
                }
            }

            FormField {
                id: emailField
                Layout.fillWidth: true
                visible: view.asksForEmail
                label: "Email"
                placeholder: "you@school.edu"
                inputMethodHints: Qt.ImhEmailCharactersOnly | Qt.ImhNoAutoUppercase
                text: model.form.email
                description: "The email address of your Orbelo account"
                onEdited: (text) => model.form.email = text
                onAccepted: view.asksForPassword ? passwordField.input.forceActiveFocus() : model.submit()
            }
            FormField {
                id: codeField
                Layout.fillWidth: true
                visible: view.asksForCode
                label: model.modeName === "secondFactor" && model.secondFactor.usesBackupCode ? "Backup code" : "6-digit code"
                maximumLength: model.modeName === "secondFactor" && model.secondFactor.usesBackupCode ? 32 : 6
                inputMethodHints: model.secondFactor.usesBackupCode ? Qt.ImhNoAutoUppercase : Qt.ImhDigitsOnly
                text: model.form.verificationCode
                description: model.subtitle
                onEdited: (text) => model.form.verificationCode = text
                onAccepted: view.asksForPassword ? passwordField.input.forceActiveFocus() : model.submit()
            }
            FormField {
                id: passwordField
                Layout.fillWidth: true
                visible: view.asksForPassword
                label: model.modeName === "newPassword" ? "New password" : "Password"
                echoMode: TextInput.Password
                text: model.form.password
                onEdited: (text) => model.form.password = text
                onAccepted: model.submit()
            }
            SecondaryButton {
                Layout.alignment: Qt.AlignRight
                visible: model.modeName === "signIn"
                plain: true
                enabled: !view.busy
                text: "Forgot password?"
                Accessible.description: "Resets your password with a code sent to your email."
                onClicked: model.showPasswordReset()
            }

            // What a sign-up still needs once its address is verified.
            FormField {
                id: firstNameField
                Layout.fillWidth: true
                visible: model.modeName === "completeSignUp" && model.completion.needsFirstName
                label: "First name"
                text: model.completion.firstName
                onEdited: (text) => model.completion.firstName = text
                onAccepted: lastNameField.visible ? lastNameField.input.forceActiveFocus() : model.submit()
            }
            FormField {
                id: lastNameField
                Layout.fillWidth: true
                visible: model.modeName === "completeSignUp" && model.completion.needsLastName
                label: "Last name"
                text: model.completion.lastName
                onEdited: (text) => model.completion.lastName = text
                onAccepted: model.submit()
            }
            CheckBox {
                id: legalBox
                Layout.fillWidth: true
                visible: model.modeName === "completeSignUp" && model.completion.needsLegalAcceptance
                checked: model.completion.legalAccepted
                text: "I accept the Terms and the Privacy Policy"
                font.pixelSize: Theme.font.callout
                palette.windowText: Theme.color.textPrimary
                Accessible.name: text
                onToggled: model.completion.legalAccepted = checked
                Keys.onReturnPressed: model.submit()
            }

            InlineErrorView {
                Layout.fillWidth: true
                message: model.form.errorMessage
            }

            PrimaryButton {
                Layout.fillWidth: true
                text: model.primaryButtonLabel
                enabled: !view.busy
                Accessible.description: model.title
                onClicked: model.submit()
            }

            SecondaryButton {
                Layout.alignment: Qt.AlignHCenter
                visible: model.modeName === "verify" || model.modeName === "newPassword"
                plain: true
                enabled: model.resend.canResendCode
                text: model.resend.resendCodeLabel
                Accessible.description: "Sends a new code to " + model.form.email.trim()
                onClicked: model.resend.resendCode()
            }

            SecondaryButton {
                Layout.alignment: Qt.AlignHCenter
                visible: model.modeName === "secondFactor" && model.secondFactor.canUsePhoneCode
                plain: true
                text: model.secondFactor.usesBackupCode ? "Use the code we texted you" : "Use a backup code"
                onClicked: model.secondFactor.useBackupCode(!model.secondFactor.usesBackupCode)
            }

            // Google and Apple accounts sign in in the browser, which hands the result back to the app.
            ColumnLayout {
                Layout.fillWidth: true
                visible: view.asksForCredentials
                spacing: Theme.spacing.s

                RowLayout {
                    Layout.fillWidth: true
                    spacing: Theme.spacing.s
                    Rectangle { Layout.fillWidth: true; height: 1; color: Theme.color.separator }
                    Text {
                        text: "or"
                        color: Theme.color.textSecondary
                        font.pixelSize: Theme.font.callout
                    }
                    Rectangle { Layout.fillWidth: true; height: 1; color: Theme.color.separator }
                }
                SecondaryButton {
                    Layout.fillWidth: true
                    text: model.browser.isGoogleSigningIn ? "Waiting for Google…" : "Continue with Google"
                    enabled: !view.busy
                    Accessible.name: "Continue with Google"
                    Accessible.description: "Signs in with your Google account in your web browser."
                    onClicked: model.browser.signInWithGoogle()
                }
                SecondaryButton {
                    Layout.fillWidth: true
                    text: model.browser.isAppleSigningIn ? "Waiting for Apple…" : "Continue with Apple"
                    enabled: !view.busy
                    Accessible.name: "Continue with Apple"
                    Accessible.description: "Signs in with your Apple ID in your web browser."
                    onClicked: model.browser.signInWithApple()
                }
                RowLayout {
                    Layout.alignment: Qt.AlignHCenter
                    visible: view.waitsForBrowser
                    spacing: Theme.spacing.xs
                    Text {
                        text: "Finish signing in in your browser."
                        color: Theme.color.textSecondary
                        font.pixelSize: Theme.font.callout
                    }
                    SecondaryButton {
                        plain: true
                        text: "Cancel"
                        Accessible.description: "Stops waiting for the browser."
                        onClicked: model.browser.cancel()
                    }
                }
            }

            RowLayout {
                Layout.alignment: Qt.AlignHCenter
                spacing: Theme.spacing.xs
                Text {
                    text: model.modeName === "signIn" ? "New to Orbelo?"
                        : view.resetsPassword ? "Remembered it?" : "Already have an account?"
                    color: Theme.color.textSecondary
                    font.pixelSize: Theme.font.callout
                }
                SecondaryButton {
                    plain: true
                    enabled: !view.busy
                    text: model.modeName === "signIn" ? "Create an account"
                        : view.resetsPassword ? "Back to sign in" : "Sign in instead"
                    onClicked: model.modeName === "signIn" ? model.showSignUp() : model.showSignIn()
                }
            }
        }
    }

    Keys.onEscapePressed: model.browser.cancel()

    Component.onCompleted: emailField.input.forceActiveFocus()
    Connections {
        target: model
        function onModeChanged() {
            if (view.asksForEmail)
                emailField.input.forceActiveFocus()
            else if (view.asksForCode)
                codeField.input.forceActiveFocus()
            else if (firstNameField.visible)
                firstNameField.input.forceActiveFocus()
            else if (lastNameField.visible)
                lastNameField.input.forceActiveFocus()
            else
                legalBox.forceActiveFocus()
        }
    }
}
