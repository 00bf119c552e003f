#include "panel/save_problem_line.h"

#include "model/store.h"

SaveProblemLine::SaveProblemLine(const Store& store, QWidget* parent)
    : QLabel(parent)
    , m_store(store)
{
    setWordWrap(true);
    setTextFormat(Qt::PlainText);
    setStyleSheet(QStringLiteral("color: #d70015;"));
    connect(&store, &Store::saveProblemChanged, this, &SaveProblemLine::follow);
    follow();
}

QString SaveProblemLine::sentence(const QString& problem)
{
    return problem.isEmpty() ? QString() : tr("Groups not saved: %1").arg(problem);
}

void SaveProblemLine::follow()
{
    setText(sentence(m_store.saveProblem()));
    setVisible(m_store.saveFailed());
}
