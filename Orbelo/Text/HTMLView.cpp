#include "Text/HTMLView.h"

namespace {

const QString pageHead = QStringLiteral("<!DOCTYPE html>\n"
                                        "<html>\n"
                                        "<head>\n"
                                        "<meta charset=\"utf-8\">\n"
                                        "<style>\n"
                                        "body { font-family: sans-serif; margin: 0; }\n"
                                        "p, ul, ol { margin-top: 0; margin-bottom: 8px; }\n"
                                        "th, td { padding: 4px 8px; }\n"
                                        "</style>\n"
                                        "</head>\n"
                                        "<body>\n");

} // namespace

HTMLView::HTMLView(QObject* parent) : QObject(parent), m_page(wrap({})) {}

void HTMLView::setHtml(const QString& html) {
    if (html == m_html)
        return;
    m_html = html;
    m_page = wrap(html);
    emit htmlChanged();
}

QString HTMLView::wrap(const QString& fragment) {
    return pageHead + fragment + QStringLiteral("\n</body>\n</html>");
}
