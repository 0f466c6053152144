// qln_floor ROWS: the floor the program's first paint is measured against. A bare table view
// over ROWS rows of five short texts, in a main window placed and sized as the program's, with
// the same probe: it prints "first paint after N ms" and ends at its first paint.

#include "app/CFirstPaintProbe.h"
#include "app/CWindowPlacement.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QMainWindow>
#include <QTableView>

#include <cstdlib>
#include <memory>

namespace {

class ShortTexts : public QAbstractTableModel {
public:
    explicit ShortTexts(int rows) : m_rows(rows) {}

    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : m_rows; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 5; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        switch (index.column()) {
        case 0:
            return QStringLiteral("Activity %1").arg(index.row() + 1);
        case 1:
            return QStringLiteral("1:30");
        case 2:
            return QStringLiteral("12.5");
        case 3:
            return QStringLiteral("87");
        default:
            return QStringLiteral("3:45");
        }
    }

private:
    int m_rows;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application{argc, argv};
    std::unique_ptr<CFirstPaintProbe> probe;
    if (CFirstPaintProbe::wanted())
        probe = std::make_unique<CFirstPaintProbe>();
    ShortTexts model{argc > 1 ? std::atoi(argv[1]) : 500};
    QMainWindow window;
    auto* view = new QTableView{&window};
    view->setModel(&model);
    window.setCentralWidget(view);
    CWindowPlacement::show(window, QString()); // where and as large as a first start puts it
    return QApplication::exec();
}
