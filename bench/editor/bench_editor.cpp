// How long the formula editor takes to answer one keystroke, with the
// preview typeset again, for texts of a given length.

#include "app/MathWindow.h"
#include "support/BenchSupport.h"

#include <QTextCursor>
#include <QTextEdit>

#include <benchmark/benchmark.h>

namespace {

// A formula of about `length` characters made of the palette's snippets,
// the way a user builds one.
QString formulaOfLength(int length)
{
    const QList<int> ids = {0, 16, 35, 1, 44, 10, 25, 42, 11, 57, 48, 15};
    QString text;
    for (int i = 0; text.size() < length; ++i)
        text += MathWindow::snippet(ids.at(i % ids.size())) + QLatin1Char('+');
    text.truncate(length);
    return text;
}

// One keystroke at the end of the text: typing a character, then erasing it.
void BM_Keystroke(benchmark::State &state)
{
    MathWindow window;
    auto *edit = window.findChild<QTextEdit *>(QStringLiteral("textEdit"));
    edit->setPlainText(formulaOfLength(int(state.range(0))));
    QTextCursor cursor = edit->textCursor();
    cursor.movePosition(QTextCursor::End);
    bool typing = true;
    for (auto _ : state) {
        if (typing)
            cursor.insertText(QStringLiteral("x"));
        else
            cursor.deletePreviousChar();
        typing = !typing;
    }
}
BENCHMARK(BM_Keystroke)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

// The preview alone, typeset at the default size.
void BM_Preview(benchmark::State &state)
{
    MathWindow window;
    auto *edit = window.findChild<QTextEdit *>(QStringLiteral("textEdit"));
    edit->setPlainText(formulaOfLength(int(state.range(0))));
    for (auto _ : state)
        window.on_textEdit_textChanged();
}
BENCHMARK(BM_Preview)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return BenchSupport::run(argc, argv);
}
