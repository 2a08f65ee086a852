#pragma once

#include <QString>

// Email addresses as accounts know them: one mailbox, one spelling.
class EmailAddress {
public:
    // Trimmed, lower-cased, and without the trailing dots a fully qualified domain may carry
    // ("Ada@Example.COM." is "ada@example.com").
    static QString normalized(const QString& address);
};
