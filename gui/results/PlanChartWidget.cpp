#include "gui/results/PlanChartWidget.h"

#include "gui/results/ExecListDlg.h"
#include "gui/widgets/Fonts.h"

#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace torvex {

namespace {

const int kMargin = 4;
const int kPointer = 6; // height of the pointer above the current step

bool IsDark(const QPalette& pal) {
    return pal.color(QPalette::Base).lightness() < 128;
}

// Judgment colours that read on the theme's own background.
QColor JudgeColor(int32_t nJudge, const QPalette& pal) {
    const bool bDark = IsDark(pal);
    switch (nJudge) {
    case JUDGE_PASS:
        return bDark ? QColor(46, 139, 87) : QColor(120, 200, 135);
    case JUDGE_FAIL:
        return bDark ? QColor(205, 70, 70) : QColor(235, 105, 105);
    default: {
        // Unjudged: halfway between the background and the theme's frame grey.
        const QColor base = pal.color(QPalette::Base), mid = pal.color(QPalette::Mid);
        return QColor((base.red() + mid.red()) / 2, (base.green() + mid.green()) / 2, (base.blue() + mid.blue()) / 2);
    }
    }
}

QColor FreqColor(const QPalette& pal) {
    return IsDark(pal) ? QColor(120, 170, 255) : QColor(25, 60, 170);
}

} // namespace

CPlanChartWidget::CPlanChartWidget(CStepTableModel* pModel, QItemSelectionModel* pSelection, QWidget* pParent)
    : QWidget(pParent), m_pModel(pModel), m_pSelection(pSelection) {
    setFont(UiFont(11));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(tr("試験計画"));
    setAccessibleDescription(
        tr("ステップごとの電圧（棒）と周波数（線）。幅は試験時間、色は判定、枠は現在のステップ。"));
    // The plan is taken again when the list's rows change; a judgment or a
    // new current step only repaints.
    connect(m_pModel, &QAbstractItemModel::modelReset, this, &CPlanChartWidget::Rebuild);
    connect(m_pModel, &QAbstractItemModel::rowsInserted, this, &CPlanChartWidget::Rebuild);
    connect(m_pModel, &QAbstractItemModel::rowsRemoved, this, &CPlanChartWidget::Rebuild);
    connect(m_pModel, &QAbstractItemModel::dataChanged, this, [this] { update(); });
    connect(m_pSelection, &QItemSelectionModel::currentRowChanged, this, [this] { update(); });
    Rebuild();
}

void CPlanChartWidget::Rebuild() {
    static const std::vector<CExecData> kNone;
    const std::vector<CExecData>* pSteps = m_pModel->Steps();
    m_plan.SetSteps(pSteps ? *pSteps : kNone);
    update();
}

int CPlanChartWidget::MarkedStep() const {
    const int nRow = m_pSelection->currentIndex().row();
    return nRow < m_plan.Count() ? nRow : -1;
}

QSize CPlanChartWidget::sizeHint() const {
    return {400, fontMetrics().height() * 5};
}

QSize CPlanChartWidget::minimumSizeHint() const {
    return {100, fontMetrics().height() * 3};
}

QRect CPlanChartWidget::PlotRect() const {
    const int nText = fontMetrics().height();
    return rect().adjusted(kMargin, kMargin + nText + kPointer, -kMargin, -kMargin); // room for the pointer
}

void CPlanChartWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Base));
    const std::vector<CExecData>* pSteps = m_pModel->Steps();
    const QRect plot = PlotRect();
    if (!pSteps || m_plan.Count() == 0 || plot.width() <= 0 || plot.height() <= 0) return;

    // The scales' ends above the plot: the highest voltage on the left, the
    // frequencies on the right.
    p.setPen(pal.color(QPalette::Text));
    const QRect caption(plot.left(), kMargin, plot.width(), fontMetrics().height());
    p.drawText(caption, Qt::AlignLeft | Qt::AlignVCenter, tr("電圧 最大 %1 V").arg(m_plan.HighestVolt()));
    const QString strFreq =
        m_plan.LowestFreq() == m_plan.HighestFreq()
            ? tr("周波数 %1 kHz").arg(FrequencyText(m_plan.LowestFreq()))
            : tr("周波数 %1 – %2 kHz").arg(FrequencyText(m_plan.LowestFreq()), FrequencyText(m_plan.HighestFreq()));
    p.setPen(FreqColor(pal));
    p.drawText(caption, Qt::AlignRight | Qt::AlignVCenter, strFreq);

    const int nMarked = MarkedStep();
    if (nMarked >= 0) {
        // The current step's place shaded as the list shades its row.
        const auto [nLeft, nRight] = m_plan.Columns(nMarked, plot.width());
        QColor shade = pal.color(QPalette::Highlight);
        shade.setAlpha(90);
        p.fillRect(QRect(plot.left() + nLeft, plot.top(), nRight - nLeft, plot.height()), shade);
    }

    const std::vector<PLAN_BAR> bars = m_plan.Bars(*pSteps, plot.width());
    const double dHeight = plot.height();
    auto y = [&](double dLevel) { return plot.bottom() + 1 - dLevel * dHeight; };
    for (const PLAN_BAR& b : bars) {
        const double dTop = y(b.dVolt);
        // Steps wide enough to tell apart keep a hairline between them.
        const int nGap = b.nRight - b.nLeft >= 6 ? 1 : 0;
        p.fillRect(QRectF(plot.left() + b.nLeft, dTop, b.nRight - b.nLeft - nGap, plot.bottom() + 1 - dTop),
                   JudgeColor(b.nJudge, pal));
    }
    // The frequency as a stepped line; where steps share a column, its range.
    QPen freq(FreqColor(pal), 2);
    freq.setCapStyle(Qt::FlatCap);
    p.setPen(freq);
    // The line keeps clear of the plot's edges so the ends of its scale stay readable.
    auto yf = [&](double dLevel) { return y(0.1 + 0.8 * dLevel); };
    double dLastY = -1;
    for (const PLAN_BAR& b : bars) {
        const double dLow = yf(b.dFreqLow), dHigh = yf(b.dFreqHigh);
        const double dLeft = plot.left() + b.nLeft, dRight = plot.left() + b.nRight;
        if (dLastY >= 0) p.drawLine(QPointF(dLeft, dLastY), QPointF(dLeft, dLow));
        if (dLow != dHigh) p.drawLine(QPointF(dLeft + 0.5, dLow), QPointF(dLeft + 0.5, dHigh));
        p.drawLine(QPointF(dLeft, dLow), QPointF(dRight, dLow));
        dLastY = dLow;
    }

    p.setPen(Qt::NoPen);
    p.setBrush(pal.color(QPalette::Text));
    if (nMarked >= 0) {
        // A pointer above the current step.
        const auto [nLeft, nRight] = m_plan.Columns(nMarked, plot.width());
        const double dX = plot.left() + (nLeft + nRight) / 2.0, dTip = plot.top() - 1;
        const double dSize = kPointer;
        const QPointF tri[3] = {{dX - dSize, dTip - dSize}, {dX + dSize, dTip - dSize}, {dX, dTip}};
        p.drawPolygon(tri, 3);
    }
}

int CPlanChartWidget::StepAtPoint(const QPoint& pos) const {
    const QRect plot = PlotRect();
    if (pos.y() < plot.top() || pos.y() > plot.bottom()) return -1;
    return m_plan.StepAt(pos.x() - plot.left(), plot.width());
}

void CPlanChartWidget::mousePressEvent(QMouseEvent* pEvent) {
    if (pEvent->button() != Qt::LeftButton) return QWidget::mousePressEvent(pEvent);
    const int nStep = StepAtPoint(pEvent->position().toPoint());
    if (nStep >= 0) emit stepClicked(nStep);
}

bool CPlanChartWidget::event(QEvent* pEvent) {
    if (pEvent->type() == QEvent::ToolTip) {
        auto* pHelp = static_cast<QHelpEvent*>(pEvent);
        const int nStep = StepAtPoint(pHelp->pos());
        std::vector<CExecData>* pSteps = m_pModel->Steps();
        if (nStep < 0 || !pSteps) {
            QToolTip::hideText();
            pEvent->ignore();
            return true;
        }
        CExecData& s = (*pSteps)[size_t(nStep)];
        const QString strTime = QStringLiteral("%1h %2m %3s")
                                    .arg(s.GetText(COL_TIME_HOUR), s.GetText(COL_TIME_MIN), s.GetText(COL_TIME_SEC));
        QToolTip::showText(pHelp->globalPos(),
                           tr("Step %1\n%2 V  %3 kHz  %4\n%5")
                               .arg(nStep + 1)
                               .arg(s.GetText(COL_VOLT), s.GetText(COL_FREQ), strTime, s.GetText(COL_JUDGE)),
                           this);
        return true;
    }
    return QWidget::event(pEvent);
}

} // namespace torvex
