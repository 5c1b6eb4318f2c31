// Qt's own texts follow the language in use: the standard buttons of message boxes and dialogs.
#include "app/shell/QtTranslations.h"

#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

struct Restore {
    ~Restore() { UseQtTranslations("EN"); }
};

TEST(QtTranslations, StandardButtonsFollowTheLanguageInUse) {
    Restore restore;
    const struct {
        const char* code;
        const char* yes;
        const char* cancel;
    } cases[] = {
        {"DE", "&Ja", "Abbrechen"}, {"NL", "&Ja", "Annuleren"}, {"ES", "&Sí", "Cancelar"},
        {"FR", "&Oui", "Annuler"},  {"EN", "&Yes", "Cancel"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        // The translation is part of the set-up: a missing one is a fault, not a skip.
        ASSERT_TRUE(UseQtTranslations(c.code));
        QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(box.button(QMessageBox::Yes)->text(), QString::fromUtf8(c.yes));
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8(c.cancel));
    }
    // A code none of the five leaves Qt's texts English.
    ASSERT_TRUE(UseQtTranslations("DE"));
    EXPECT_FALSE(UseQtTranslations("XX"));
    QMessageBox box(QMessageBox::Question, "t", "q", QMessageBox::Yes);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text(), "&Yes");
}

} // namespace
