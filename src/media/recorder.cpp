#include "media/recorder.h"

#include "media/compressordialog.h"
#include "media/mediapaths.h"
#include "platform/prompter.h"

#include <QFile>
#include <QLoggingCategory>
#include <QMetaObject>

// Off unless asked for (QT_LOGGING_RULES="quillon.recording.info=true"): long runs compare
// what reached the recorder with what the clip holds.
Q_LOGGING_CATEGORY(lcRecording, "quillon.recording", QtWarningMsg)

namespace {

const char kCaption[] = "AVI Capture";
// The compressor check's frame size before the first clip gave a real one; every capture
// size is a multiple of it.
constexpr QSize kProbeSize{320, 240};

QString codeText(const char* operation, int code)
{
    return QString::asprintf("%s(0x%08X:%d)", operation, static_cast<unsigned>(code), 0);
}

}  // namespace

Recorder::Recorder(MediaPaths& paths, const LocalText& text, Prompter& prompter, QObject* parent)
    : QObject(parent)
    , m_paths(paths)
    , m_text(text)
    , m_prompter(prompter)
    , m_names(paths, prompter, m_clock)
{
}

Recorder::~Recorder()
{
    close();
}

int Recorder::storedRate(int frameRateClass)
{
    switch (frameRateClass) {
    case 15: return 22;
    case 14: return 15;
    default: return 5;
    }
}

QString Recorder::openFailureText(const AviWriter::OpenResult& result)
{
    switch (result.failed) {
    case AviWriter::Step::None: return {};
    case AviWriter::Step::File: return codeText("Open avi file failed", result.code);
    case AviWriter::Step::Stream: return codeText("Create stream failed", result.code);
    case AviWriter::Step::CompressedStream: return codeText("Make compress stream failed", result.code);
    case AviWriter::Step::Unsupported: return QStringLiteral("Unsupport compressed format");
    case AviWriter::Step::BadFormat: return QStringLiteral("Bad compresse format");
    case AviWriter::Step::Format: return codeText("Set stream format failed", result.code);
    }
    return {};
}

// The encoder is opened on a throw-away clip, so one that cannot work here is found now and
// not at the start of a recording.
bool Recorder::compressorWorks(const AviEncoder& encoder, int quality)
{
    const QString testPath = m_paths.videoFolder() + QStringLiteral("/test.avi");
    QSize size;
    {
        std::lock_guard lock(m_recordingLock);
        size = m_frameSize.isValid() ? m_frameSize : kProbeSize;
    }
    AviWriter writer;
    const bool works = writer.open(testPath, size.width(), size.height(), storedRate(5), encoder, quality).ok();
    writer.close();
    QFile::remove(testPath);
    return works;
}

void Recorder::useDefaultCompressor()
{
    const AviEncoder encoder = AviWriter::defaultEncoder();
    if (compressorWorks(encoder, encoder.defaultQuality)) {
        m_compressor = encoder;
        m_quality = encoder.defaultQuality;
    }
}

void Recorder::chooseCompressor(QWidget* parent)
{
    m_compressorChosen = true;
    const std::optional<AviEncoder> chosen = CompressorDialog::choose(AviWriter::encoders(), m_text, parent);
    if (chosen && compressorWorks(*chosen, chosen->defaultQuality)) {
        m_compressor = chosen;
        m_quality = chosen->defaultQuality;
    }
}

bool Recorder::takeCompressorChosen()
{
    return std::exchange(m_compressorChosen, false);
}

bool Recorder::open(QSize size, int frameRateClass, QWidget* parent)
{
    close();
    const QString path = m_names.makeClipName();
    AviWriter::OpenResult result;
    {
        std::lock_guard lock(m_recordingLock);
        // No compressor ever set: the writer finds no encoder of an empty name and says so.
        result = m_writer.open(path, size.width(), size.height(), storedRate(frameRateClass),
                               m_compressor.value_or(AviEncoder{}), m_quality);
        if (result.ok()) {
            m_frameSize = size;
            m_framesWritten = 0;
            m_framesDelivered = 0;
        }
    }
    if (!result.ok()) {
        // The new name was free, so whatever is there now is our empty, unplayable start.
        QFile::remove(path);
        m_prompter.message(parent, openFailureText(result), Prompter::Icon::Error, Prompter::Buttons::Ok,
                           QString::fromLatin1(kCaption));
        return false;
    }
    m_clipPath = path;
    return true;
}

bool Recorder::isOpen() const
{
    return !m_clipPath.isEmpty();
}

void Recorder::writeFrame(const CameraFrame& frame)
{
    std::lock_guard lock(m_recordingLock);
    if (m_writer.isOpen()) {
        ++m_framesDelivered;
    }
    if (!m_writer.isOpen() || frame.width != m_frameSize.width() || frame.height != m_frameSize.height()) {
        return;
    }
    if (m_writer.writeFrame(frame.bytes, frame.length)) {
        ++m_framesWritten;
        return;
    }
    const int error = m_writer.writeError();
    if (error == 0) {
        return;  // a frame of the wrong length; the clip itself is fine
    }
    m_writer.close();
    // A clip without a single frame has nothing to show: it goes at the close.
    m_emptyAfterFailure = m_framesWritten == 0;
    const QString message = m_emptyAfterFailure
        ? tr("The recording stopped because the clip could not be written: %1. "
             "Nothing was recorded.")
              .arg(AviWriter::errorText(error))
        : tr("The recording stopped because the clip could not be written: %1. "
             "The clip keeps the frames recorded until then.")
              .arg(AviWriter::errorText(error));
    QMetaObject::invokeMethod(this, [this, message] { emit writeFailed(message); }, Qt::QueuedConnection);
}

void Recorder::close()
{
    std::int64_t delivered = 0;
    bool empty = false;
    {
        std::lock_guard lock(m_recordingLock);
        m_writer.close();
        delivered = m_framesDelivered;
        empty = std::exchange(m_emptyAfterFailure, false);
    }
    if (empty && !m_clipPath.isEmpty()) {
        QFile::remove(std::exchange(m_clipPath, QString()));
    }
    if (!m_clipPath.isEmpty()) {
        qCInfo(lcRecording).noquote() << "closed" << m_clipPath << "frames delivered" << delivered
                                      << "written" << m_framesWritten.load();
        emit clipClosed(std::exchange(m_clipPath, QString()));
    }
}

std::int64_t Recorder::framesWritten() const
{
    return m_framesWritten;
}
