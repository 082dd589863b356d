#pragma once

#include <QWidget>

struct ResponseCurvePoint;
class QEnterEvent;

namespace Ui {
class CurveView;
}

// Read-only preview of a response curve. It lights up while the pointer is over it and
// emits pressed() on any mouse button, which the effect editors answer with the curve dialog.
class CurveView : public QWidget
{
    Q_OBJECT

public:
    explicit CurveView(QWidget* parent = nullptr);
    ~CurveView() override;

    // Plots the 11 points at points; the plot keeps its own copy.
    void setCurve(const ResponseCurvePoint* points, const QString& xLabel, const QString& yLabel);

signals:
    void pressed();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Ui::CurveView* ui;
};
