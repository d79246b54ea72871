#pragma once
// The add-in manager: VBE.Addins with a "loaded" box each; OK connects or disconnects the
// add-ins whose box changed.
#include "host/vbide.h"

#include <QDialog>

class QTreeWidget;
class QLabel;

namespace gui {

class AddInManagerDialog : public QDialog {
    Q_OBJECT
public:
    AddInManagerDialog(host::Ptr<host::Addins> addins, QWidget *parent = nullptr);

    QTreeWidget *list() const { return m_list; }
    /// Sets AddIn.Connect for every add-in whose box differs from its state; errors are
    /// shown and the others still applied.
    void apply();

private:
    host::Ptr<host::Addins> m_addins;
    QTreeWidget *m_list;
    QLabel *m_description;
};

} // namespace gui
