#include "gui/addin_manager.h"

#include "gui/user_operation.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace gui {

AddInManagerDialog::AddInManagerDialog(host::Ptr<host::Addins> addins, QWidget *parent)
    : QDialog(parent), m_addins(std::move(addins)), m_list(new QTreeWidget(this)), m_description(new QLabel(this))
{
    setWindowTitle(QStringLiteral("ｱﾄﾞｲﾝ ﾏﾈｰｼﾞｬ"));
    m_list->setRootIsDecorated(false);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("使用できるｱﾄﾞｲﾝ"), QStringLiteral("ﾛｰﾄﾞ時の動作")});
    m_list->header()->setStretchLastSection(true);
    userOperation([&] {
        for (int i = 1; i <= m_addins->count(); ++i) {
            auto addIn = m_addins->item(i);
            auto *item = new QTreeWidgetItem(m_list);
            item->setText(0, addIn->description().isEmpty() ? addIn->progId() : addIn->description());
            item->setText(1, addIn->connect() ? QStringLiteral("ﾛｰﾄﾞ") : QString());
            item->setCheckState(0, addIn->connect() ? Qt::Checked : Qt::Unchecked);
            item->setData(0, Qt::UserRole, addIn->progId());
        }
    });
    m_list->resizeColumnToContents(0);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        m_description->setText(item ? item->data(0, Qt::UserRole).toString() : QString());
    });
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        apply();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(new QLabel(QStringLiteral("説明:"), this));
    layout->addWidget(m_description);
    layout->addWidget(buttons);
    resize(480, 320);
}

void AddInManagerDialog::apply()
{
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = m_list->topLevelItem(row);
        const QString progId = item->data(0, Qt::UserRole).toString();
        const bool wanted = item->checkState(0) == Qt::Checked;
        userOperation([&] {
            auto addIn = m_addins->item(progId);
            if (addIn->connect() != wanted)
                addIn->setConnect(wanted);
        });
    }
}

} // namespace gui
