#pragma once

#include "results/PlanChart.h"

#include <QWidget>

class QItemSelectionModel;

namespace torvex {

class CStepTableModel;

// The test plan beside the step list: each step as wide as its test time, its
// voltage as a bar coloured by its judgment, its frequency as a line, and the
// current step (the running one during a test) marked. It follows the step
// list's model and selection.
class CPlanChartWidget : public QWidget {
    Q_OBJECT
public:
    CPlanChartWidget(CStepTableModel* pModel, QItemSelectionModel* pSelection, QWidget* pParent = nullptr);

    // The step marked, -1 when none.
    int MarkedStep() const;
    const CPlanChart& Plan() const { return m_plan; }
    // The area the steps are drawn in.
    QRect PlotRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // The operator clicked a step.
    void stepClicked(int nStep);

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    bool event(QEvent* pEvent) override;

private:
    void Rebuild();
    int StepAtPoint(const QPoint& pos) const;

    CStepTableModel* m_pModel;
    QItemSelectionModel* m_pSelection;
    CPlanChart m_plan;
};

} // namespace torvex
