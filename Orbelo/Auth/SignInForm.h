#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// What every step of the sign-in screen shares: the typed address, password and code, whether a
// request is running, and the message of the last one that failed.
class SignInForm : public QObject {
    Q_OBJECT
    QML_ANONYMOUS
    Q_PROPERTY(QString email READ email WRITE setEmail NOTIFY emailChanged)
    Q_PROPERTY(QString password READ password WRITE setPassword NOTIFY passwordChanged)
    Q_PROPERTY(QString verificationCode READ verificationCode WRITE setVerificationCode NOTIFY
                   verificationCodeChanged)
    Q_PROPERTY(bool isSubmitting READ isSubmitting NOTIFY isSubmittingChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY errorMessageChanged)
public:
    using QObject::QObject;

    QString email() const { return email_; }
    void setEmail(const QString& email);
    QString password() const { return password_; }
    void setPassword(const QString& password);
    QString verificationCode() const { return verificationCode_; }
    void setVerificationCode(const QString& code);
    bool isSubmitting() const { return isSubmitting_; }
    void setSubmitting(bool submitting);
    QString errorMessage() const { return errorMessage_; }
    void setError(const QString& message);

Q_SIGNALS:
    void emailChanged();
    void passwordChanged();
    void verificationCodeChanged();
    void isSubmittingChanged();
    void errorMessageChanged();

private:
    QString email_;
    QString password_;
    QString verificationCode_;
    bool isSubmitting_ = false;
    QString errorMessage_;
};
