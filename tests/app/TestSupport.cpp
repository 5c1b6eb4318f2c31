#include "TestSupport.h"

#include <QWidget>

#include "app/common/AppContext.h"
#include "core/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QUrl>
#include <stdexcept>

ScriptedDialogs::ScriptedDialogs() {
    SetDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    SetDialogs(nullptr);
}

QStringList ScriptedDialogs::Texts(const QString& kind) const {
    QStringList texts;
    for (const Message& message : Messages)
        if (message.kind == kind)
            texts << message.text;
    return texts;
}

bool ScriptedDialogs::Answer(QList<bool>& queue) {
    if (queue.isEmpty()) {
        ++Unanswered;
        return false;
    }
    return queue.takeFirst();
}

QString ScriptedDialogs::NextFile(const FileDialogSpec& spec) {
    FileDialogs.append(spec);
    if (FileAnswers.isEmpty()) {
        ++Unanswered;
        return {};
    }
    return FileAnswers.takeFirst();
}

void ScriptedDialogs::Error(QWidget*, const QString& text, const QString& caption) {
    Messages.append({"Error", caption, text});
}

void ScriptedDialogs::Information(QWidget*, const QString& caption, const QString& text) {
    Messages.append({"Information", caption, text});
}

bool ScriptedDialogs::AskYesNo(QWidget*, const QString& caption, const QString& text) {
    Messages.append({"YesNo", caption, text});
    return Answer(YesNoAnswers);
}

bool ScriptedDialogs::AskOkCancel(QWidget*, const QString& caption, const QString& text) {
    Messages.append({"OkCancel", caption, text});
    return Answer(OkCancelAnswers);
}

QString ScriptedDialogs::OpenFile(QWidget*, const FileDialogSpec& spec) {
    return NextFile(spec);
}

QString ScriptedDialogs::ChooseName(QWidget*, const FileDialogSpec& spec) {
    return NextFile(spec);
}

QString ScriptedDialogs::SaveFile(QWidget*, const FileDialogSpec& spec) {
    return NextFile(spec);
}

QStringList ScriptedDialogs::OpenFiles(QWidget*, const FileDialogSpec& spec) {
    FileDialogs.append(spec);
    if (FilesAnswers.isEmpty()) {
        ++Unanswered;
        return {};
    }
    return FilesAnswers.takeFirst();
}

bool ScriptedDialogs::OpenDocument(const QUrl& document) {
    OpenedDocuments << (document.isLocalFile() ? document.toLocalFile() : document.toString());
    return ViewerStarts;
}

void ScriptedDialogs::Warning(QWidget*, const QString& caption, const QString& text) {
    Messages.append({"Warning", caption, text});
}

ExecutableFolder::ExecutableFolder(const QStringList& languages)
    : savedExecutable_(App().ExecutablePath), savedLanguage_(App().LanguageCode),
      savedRemembered_(App().RememberedDirectory) {
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
    App().ExecutablePath = Path() + "/ostiva";
    App().LanguageCode = "EN";
    App().RememberedDirectory.clear();
    for (const QString& code : languages) {
        const QString source = QString(OSTIVA_DATA_DIR) + "/ostiva_" + code + ".ini";
        if (!QFile::copy(source, LanguageFile(code)))
            throw std::runtime_error(("cannot copy " + source).toStdString());
        // Copies keep the source's read-only bits; tests write norm limits and criteria.
        QFile::setPermissions(LanguageFile(code),
                              QFile::permissions(LanguageFile(code)) | QFile::WriteOwner);
    }
}

ExecutableFolder::~ExecutableFolder() {
    App().ExecutablePath = savedExecutable_;
    App().LanguageCode = savedLanguage_;
    App().RememberedDirectory = savedRemembered_;
}

QString ExecutableFolder::Path() const {
    return dir_.path();
}

QString ExecutableFolder::SettingsFile() const {
    return Path() + "/ostiva.ini";
}

QString ExecutableFolder::LanguageFile(const QString& code) const {
    return Path() + "/ostiva_" + code + ".ini";
}

void ExecutableFolder::WriteSetting(const QString& section, const QString& key,
                                    const QString& value) const {
    ostiva::IniFile(SettingsFile().toStdString())
        .WriteString(section.toStdString(), key.toStdString(), value.toStdString());
}

QString ExecutableFolder::ReadSetting(const QString& section, const QString& key,
                                      const QString& missing) const {
    return QString::fromStdString(
        ostiva::IniFile(SettingsFile().toStdString())
            .ReadString(section.toStdString(), key.toStdString(), missing.toStdString()));
}

bool ExecutableFolder::HasSetting(const QString& section, const QString& key) const {
    return ReadSetting(section, key, "<a>") == ReadSetting(section, key, "<b>");
}

QStringList ExecutableFolder::SettingKeys(const QString& section) const {
    QFile file(SettingsFile());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList keys;
    bool inSection = false;
    QTextStream lines(&file);
    while (!lines.atEnd()) {
        const QString line = lines.readLine().trimmed();
        if (line.startsWith('[')) {
            inSection = line.compare("[" + section + "]", Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (inSection && equals > 0)
            keys << line.left(equals).trimmed();
    }
    return keys;
}

QString ExecutableFolder::WriteProfile(const QString& path,
                                       const ostiva::testdata::GeneratorOptions& options) const {
    ostiva::testdata::WriteProfileFile(path.toStdString(), options);
    return path;
}

QString ExecutableFolder::MakeDirectory(const QString& name) const {
    const QString directory = Path() + "/" + name;
    if (!QDir().mkpath(directory))
        throw std::runtime_error(("cannot create " + directory).toStdString());
    return directory + "/";
}

QString ExecutableFolder::MakeProject(const QString& name, int count) const {
    const QString directory = MakeDirectory(name);
    for (int i = 1; i <= count; ++i) {
        ostiva::testdata::GeneratorOptions options;
        options.seed = std::uint32_t(i);
        WriteProfile(directory + QString("zq%1.xml").arg(i, 4, 10, QChar('0')), options);
    }
    return directory;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList FilesIn(const QString& directory) {
    return QDir(directory).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

bool WhollyInSight(const QWidget* widget) {
    if (!widget->isVisible())
        return false;
    for (const QWidget* ancestor = widget->parentWidget(); ancestor;
         ancestor = ancestor->parentWidget())
        if (!ancestor->rect().contains(
                QRect(widget->mapTo(ancestor, QPoint(0, 0)), widget->size())))
            return false;
    return true;
}
