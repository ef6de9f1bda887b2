#pragma once

#include <QAbstractSpinBox>
#include <QString>

#include <optional>

namespace tavrisk::app {

// A whole-number field with arrow buttons, bounded by [minimum, maximum].
// - Typing accepts only digits, "+", "-", the decimal separator and control
//   keys; any other character (Enter included) is refused with a beep.
// - The arrows step by 1 from the value read and stop at the bounds.
// - A value the program sets is brought into the range.
// - A typed value outside the range stays as typed until the field loses the
//   focus, then it becomes the nearest bound.
// - Reading: text that is not a whole number reads as the minimum; a typed
//   value not yet corrected reads as typed.
class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT

public:
    SpinEdit(int minimum, int maximum, int value, QWidget* parent = nullptr);

    [[nodiscard]] int Value() const;
    void SetValue(int value);
    [[nodiscard]] QString Text() const;
    void SetText(const QString& text);
    [[nodiscard]] int Minimum() const { return minimum_; }
    [[nodiscard]] int Maximum() const { return maximum_; }

    // The whole number a text stands for: optional leading blanks, an optional
    // sign and decimal digits, within the range of a 32-bit integer.
    static std::optional<int> ParseWholeNumber(const QString& text);

    void stepBy(int steps) override;

signals:
    // The text changed, by typing or by the program.
    void Changed();
    // A typed character was refused (and the bell rung).
    void Refused();

protected:
    [[nodiscard]] StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    [[nodiscard]] bool Accepts(const QString& typed) const;
    void Refuse();
    [[nodiscard]] int Clamp(int value) const;

    int minimum_;
    int maximum_;
};

}  // namespace tavrisk::app
