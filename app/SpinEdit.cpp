#include "app/SpinEdit.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>

#include <algorithm>
#include <limits>

namespace tavrisk::app {

SpinEdit::SpinEdit(int minimum, int maximum, int value, QWidget* parent)
    : QAbstractSpinBox(parent), minimum_(minimum), maximum_(maximum) {
    setAccelerated(false);
    setWrapping(false);
    setInputMethodHints(Qt::ImhFormattedNumbersOnly);
    connect(lineEdit(), &QLineEdit::textChanged, this, &SpinEdit::Changed);
    SetValue(value);
}

std::optional<int> SpinEdit::ParseWholeNumber(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' ')) {
        ++i;
    }
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i == n) {
        return std::nullopt;
    }
    long long magnitude = 0;
    for (; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
        magnitude = magnitude * 10 + (c - u'0');
        if (magnitude > static_cast<long long>(std::numeric_limits<int>::max()) + 1) {
            return std::nullopt;
        }
    }
    const long long value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

int SpinEdit::Value() const {
    return ParseWholeNumber(Text()).value_or(minimum_);
}

void SpinEdit::SetValue(int value) {
    SetText(QString::number(Clamp(value)));
}

QString SpinEdit::Text() const {
    return lineEdit()->text();
}

void SpinEdit::SetText(const QString& text) {
    lineEdit()->setText(text);
}

int SpinEdit::Clamp(int value) const {
    return std::clamp(value, minimum_, maximum_);
}

void SpinEdit::stepBy(int steps) {
    // From the value as read, so a typed value out of range is corrected by
    // the first step; the sum is done wide so it cannot overflow.
    const long long next = static_cast<long long>(Value()) + steps;
    SetValue(static_cast<int>(std::clamp<long long>(next, minimum_, maximum_)));
}

QAbstractSpinBox::StepEnabled SpinEdit::stepEnabled() const {
    return StepUpEnabled | StepDownEnabled;
}

bool SpinEdit::Accepts(const QString& typed) const {
    const QString decimal = QLocale().decimalPoint();
    for (QChar c : typed) {
        const char16_t u = c.unicode();
        // Control keys (Backspace, Delete, Ctrl+letter, ...) pass; Enter does not.
        const bool control = c.category() == QChar::Other_Control && u != u'\r';
        const bool allowed = (u >= u'0' && u <= u'9') || u == u'+' || u == u'-' || decimal.contains(c);
        if (!control && !allowed) {
            return false;
        }
    }
    return true;
}

void SpinEdit::Refuse() {
    QApplication::beep();
    emit Refused();
}

void SpinEdit::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        Refuse();
        event->accept();
        return;
    }
    if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
        // Only the arrows step; paging keys do nothing in a one-line field.
        event->accept();
        return;
    }
    const bool shortcut = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (!shortcut && !event->text().isEmpty() && !Accepts(event->text())) {
        Refuse();
        event->accept();
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void SpinEdit::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty() && !Accepts(event->commitString())) {
        Refuse();
        QInputMethodEvent cleared;
        QAbstractSpinBox::inputMethodEvent(&cleared);
        event->accept();
        return;
    }
    QAbstractSpinBox::inputMethodEvent(event);
}

void SpinEdit::focusOutEvent(QFocusEvent* event) {
    QAbstractSpinBox::focusOutEvent(event);
    const int value = Value();
    if (Clamp(value) != value) {
        SetValue(value);
    }
}

}  // namespace tavrisk::app
