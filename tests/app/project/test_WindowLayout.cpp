// The project and comparison windows at the sizes users give them: no control covers another.
// A control may be scrolled out of sight, but what is in sight is never under something else.
#include "TestSupport.h"
#include "app/chart/TProfileChart.h"
#include "app/project/TProjectForm.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QTabBar>
#include <gtest/gtest.h>

namespace {

bool IsControl(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QLabel*>(w) ||
           qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTabBar*>(w) ||
           qobject_cast<const QListWidget*>(w) || qobject_cast<const TProfileChart*>(w);
}

// The part of `w` in sight, in `form` coordinates: cut by every ancestor, so a scroll area's
// viewport cuts off what is scrolled away.
QRect InSight(const QWidget* w, const QWidget* form) {
    QRect r(w->mapTo(form, QPoint(0, 0)), w->size());
    for (const QWidget* a = w->parentWidget(); a && a != form; a = a->parentWidget())
        r &= QRect(a->mapTo(form, QPoint(0, 0)), a->size());
    return r & form->rect();
}

// "a covers b" for every pair of controls in sight whose parts in sight meet.
QStringList Overlaps(const QWidget* form) {
    QList<const QWidget*> controls;
    for (const QWidget* w : form->findChildren<QWidget*>()) {
        if (!w->isVisible() || !IsControl(w))
            continue;
        bool inner = false; // a part of another control (a combo box's list, a tab's button)
        for (const QWidget* a = w->parentWidget(); a && a != form; a = a->parentWidget())
            inner = inner || IsControl(a);
        if (!inner && !InSight(w, form).isEmpty())
            controls << w;
    }
    QStringList overlaps;
    for (qsizetype i = 0; i < controls.size(); ++i)
        for (qsizetype j = i + 1; j < controls.size(); ++j)
            if (InSight(controls[i], form).intersects(InSight(controls[j], form)))
                overlaps << controls[i]->objectName() + " / " + controls[j]->objectName();
    return overlaps;
}

class WindowLayoutTest : public ::testing::Test {
  protected:
    ExecutableFolder folder;
    ScriptedDialogs dialogs;
    QMdiArea area;

    void ExpectNoOverlapAt(TProjectForm* form, QSize size, const QList<int>& kinds) {
        QMdiSubWindow* window = qobject_cast<QMdiSubWindow*>(form->parentWidget());
        window->showNormal();
        window->resize(size);
        auto* tabs = FindNamed<QTabBar>(form, "tabGraficType");
        for (int kind : kinds) {
            tabs->setCurrentIndex(kind);
            QApplication::processEvents();
            const QStringList overlaps = Overlaps(form);
            EXPECT_TRUE(overlaps.isEmpty()) << size.width() << "x" << size.height() << " kind "
                                            << kind << ": " << overlaps.join(", ").toStdString();
        }
    }
};

TEST_F(WindowLayoutTest, ProjectWindowAtEverySize) {
    area.resize(1280, 1024);
    area.show();
    TProjectForm* form =
        TProjectForm::OpenProject(&area, folder.MakeProject("p", 2) + "zq0001.xml");
    for (QSize size :
         {QSize(1280, 1024), QSize(800, 600), QSize(600, 450), QSize(640, 1000), QSize(1280, 340)})
        ExpectNoOverlapAt(form, size, {0, 2, 4});
}

TEST_F(WindowLayoutTest, ComparisonWindowAtEverySize) {
    area.resize(1280, 1024);
    area.show();
    const QString dir = folder.MakeProject("p", 2);
    TProjectForm* form =
        TProjectForm::OpenComparison(&area, dir + "zq0001.xml", dir + "zq0002.xml");
    for (QSize size : {QSize(1280, 1024), QSize(1024, 700), QSize(800, 600), QSize(600, 450)})
        ExpectNoOverlapAt(form, size, {0, 2, 4});
}

} // namespace
