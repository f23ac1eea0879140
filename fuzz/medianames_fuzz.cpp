// Running numbers come from whatever names the picture and video folders hold. Any bytes,
// read as a name, must give a number within what one more file can add to; and the same bytes
// as a real file's name must lead the folder scan to the number that name gives.
#include "media/medianames.h"
#include "platform/prompter.h"

#include <QString>
#include <QTemporaryDir>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

class CountingPrompter final : public Prompter {
public:
    int messages = 0;
    Answer message(QWidget*, const QString&, Icon, Buttons, const QString&) override
    {
        ++messages;
        return Answer::Ok;
    }
    std::optional<FileAnswer> openFile(QWidget*, const FileRequest&) override { return {}; }
    std::optional<FileAnswer> saveFile(QWidget*, const FileRequest&) override { return {}; }
    std::optional<QString> chooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
    std::optional<QColor> chooseColor(QWidget*, const QColor&) override { return {}; }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return {}; }
};

void check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

bool isFileName(const std::string& bytes)
{
    return !bytes.empty() && bytes.size() <= NAME_MAX && bytes != "." && bytes != ".."
        && bytes.find('/') == std::string::npos && bytes.find('\0') == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const QString name = QString::fromUtf8(bytes);
    const std::optional<int> number = MediaNames::sequenceNumberOf(name);
    check(number.has_value() == name.contains(QLatin1Char('N')));
    check(!number || (*number < INT_MAX && *number > -INT_MAX));

    if (!isFileName(bytes)) {
        return 0;
    }
    static QTemporaryDir folder(QStringLiteral("/tmp/quillon-medianames-fuzz-XXXXXX"));
    const std::string path = folder.path().toStdString() + '/' + bytes;
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
    if (fd < 0) {
        return 0;
    }
    ::close(fd);
    CountingPrompter prompter;
    const int next = MediaNames::nextSequenceNumber(folder.path(), QStringLiteral("bmp"), QStringLiteral("Picture Error"),
                                                    prompter);
    ::unlink(path.c_str());
    check(next >= 1 && prompter.messages == 0);
    // Names that are not valid UTF-8 reach the scan changed, so only whole names are compared.
    if (name.toUtf8() == QByteArray::fromStdString(bytes)) {
        const bool counted = name.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive);
        check(next == (counted && number ? std::max(*number, 0) : 0) + 1);
    }
    return 0;
}
