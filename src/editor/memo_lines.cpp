// SPDX-License-Identifier: MIT

#include "editor/memo_lines.h"

#include "editor/stored_text.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace zr {

void setMemoLines(QPlainTextEdit& memo, const QStringList& lines) {
  QString text = lines.join(u'\n');
  if (!lines.isEmpty() && lines.last().isEmpty())
    text += u'\n';
  memo.setPlainText(text);
}

QStringList displayedMemoLines(const QPlainTextEdit& memo) {
  const QTextDocument& document = *memo.document();
  QAbstractTextDocumentLayout& layout = *document.documentLayout();
  QStringList lines;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    // The memo lays paragraphs out lazily; asking for the bounds lays this one
    // out at the memo's current width.
    layout.blockBoundingRect(block);
    const QTextLayout& blockLayout = *block.layout();
    const QString text = block.text();
    if (blockLayout.lineCount() == 0) {
      lines.append(toStorableLine(text));
      continue;
    }
    for (int i = 0; i < blockLayout.lineCount(); ++i) {
      const QTextLine row = blockLayout.lineAt(i);
      lines.append(toStorableLine(text.mid(row.textStart(), row.textLength())));
    }
  }
  if (!lines.isEmpty() && lines.last().isEmpty())
    lines.removeLast();
  return lines;
}

} // namespace zr
