#pragma once

#include <QFrame>
#include <QString>

#include <array>

class QLabel;

namespace tavrisk::app {

// The status bar at the foot of the main window: 19 pixels high, seven sunken
// panels addressed by their 0-based index and a size grip. Panels 0 to 5 have
// fixed widths; panel 6 takes the rest of the bar and follows its right end.
class StatusBar : public QFrame {
    Q_OBJECT

public:
    static constexpr int kPanelCount = 7;
    static constexpr int kHeight = 19;
    // Widths of panels 0 to 5; panel 6 stretches.
    static constexpr std::array<int, kPanelCount - 1> kFixedWidths = {39, 50, 39, 50, 39, 50};

    explicit StatusBar(QWidget* parent = nullptr);

    // An index outside 0..6 is ignored (or reads as empty).
    void SetPanelText(int index, const QString& text);
    [[nodiscard]] QString PanelText(int index) const;
    // The widget of a panel (for its geometry).
    [[nodiscard]] QLabel* Panel(int index) const;

private:
    std::array<QLabel*, kPanelCount> panels_{};
};

}  // namespace tavrisk::app
