#include "app/ReportPdf.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <functional>
#include <utility>

#include "model/Parallel.h"
#include "platform/Canvas.h"

namespace report {
namespace {

// Page coordinates in dots of 1/300 inch.
constexpr int Resolution = 300;

double Mm(double mm) {
  return mm * Resolution / 25.4;
}

// The program's serif font (the charts' "Times New Roman"), embedded by the writer.
QFont Serif(double points, bool bold = false, bool italic = false) {
  QFont f = MakeFont(QStringLiteral("Times New Roman"), -16).ToQFont();
  f.setPointSizeF(points);
  f.setBold(bold);
  f.setItalic(italic);
  return f;
}

// One page as laid out: what is painted on it, and the pictures it needs decoded first (they
// are decoded while the page before it is painted).
struct Page {
  using Op = std::function<void(QPainter&, const std::vector<QImage>&)>;
  std::vector<Op> ops;
  std::vector<const QByteArray*> pictures;
};

// Lays blocks out from the top of the body of a page down, starting a new page when a block
// does not fit below what the page holds.
class Layout {
 public:
  Layout(const QPaintDevice& device, double width, double height)
      : device_(device), width_(width), height_(height) {
    pages_.emplace_back();
  }

  double Width() const { return width_; }
  double Height() const { return height_; }
  std::vector<Page>& Pages() { return pages_; }
  Page& Current() { return pages_.back(); }

  void NewPage() {
    pages_.emplace_back();
    y_ = 0;
  }

  // The top of a block of height h.
  double Reserve(double h) {
    if (y_ > 0 && y_ + h > height_) NewPage();
    const double top = y_;
    y_ += h;
    return top;
  }

  double TextHeight(const QFont& font, double width, const QString& text) const {
    const QFontMetricsF fm(font, &device_);
    return fm.boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap, text).height();
  }

  // A paragraph across the page, followed by `gap`.
  void Text(const QFont& font, const QString& text, double gap, int align = Qt::AlignLeft) {
    const double h = TextHeight(font, width_, text);
    const double top = Reserve(h + gap);
    const QRectF box(0, top, width_, h);
    Current().ops.push_back([font, text, box, align](QPainter& p, const std::vector<QImage>&) {
      p.setFont(font);
      p.drawText(box, align | Qt::TextWordWrap, text);
    });
  }

  // A table of rows whose cells take the given fractions of the width, each row kept whole on
  // one page.
  void Table(const std::vector<Row>& rows, const std::vector<double>& fractions, double gap) {
    const QFont font = Serif(10);
    const double pad = Mm(1.2);
    for (const Row& row : rows) {
      std::vector<QRectF> cells;
      std::vector<QString> texts;
      double h = 0;
      double x = 0;
      for (std::size_t i = 0; i < fractions.size(); ++i) {
        const double w = fractions[i] * width_;
        texts.push_back(i < row.size() ? QString::fromStdString(row[i]) : QString());
        h = std::max(h, TextHeight(font, w - 2 * pad, texts.back()));
        cells.emplace_back(x, 0, w, 0);
        x += w;
      }
      h += 2 * pad;
      const double top = Reserve(h);
      for (QRectF& c : cells) c = QRectF(c.left(), top, c.width(), h);
      Current().ops.push_back([font, cells, texts, pad](QPainter& p, const std::vector<QImage>&) {
        p.setFont(font);
        p.setPen(QPen(Qt::black, Mm(0.15)));
        for (std::size_t i = 0; i < cells.size(); ++i) {
          p.drawRect(cells[i]);
          p.drawText(cells[i].adjusted(pad, pad, -pad, -pad), Qt::TextWordWrap, texts[i]);
        }
      });
    }
    Reserve(gap);
  }

  // A picture fitted into the width and at most maxHeight high, centred.
  void Picture(const QImage& image, double maxHeight, double gap) {
    if (image.isNull()) return;
    const QSizeF fitted = QSizeF(image.size()).scaled(width_, maxHeight, Qt::KeepAspectRatio);
    const double top = Reserve(fitted.height() + gap);
    const QRectF box((width_ - fitted.width()) / 2, top, fitted.width(), fitted.height());
    Current().ops.push_back([image, box](QPainter& p, const std::vector<QImage>&) {
      // The schematic comes from a JPEG picture: stored as JPEG again it stays small.
      p.setRenderHint(QPainter::LosslessImageRendering, false);
      p.drawImage(box, image);
      p.setRenderHint(QPainter::LosslessImageRendering, true);
    });
  }

  // A graph in one half of a page: its title and time, its settings line, its picture.
  void Graph(const JournalEntry& g, bool upperHalf) {
    if (upperHalf && !(y_ == 0 && Current().ops.empty())) NewPage();
    const double slot = height_ / 2;
    const double top = upperHalf ? 0 : slot;
    const QFont titleFont = Serif(12, true);
    const QFont lineFont = Serif(9.5);
    const QString title = g.title + QStringLiteral(" — ") + g.time.toString("dd.MM.yyyy HH:mm:ss");
    const double titleHeight = TextHeight(titleFont, width_, title);
    const double lineHeight = TextHeight(lineFont, width_, g.settings);
    const double picTop = top + titleHeight + Mm(1) + lineHeight + Mm(2);
    const double room = std::max(Mm(10), top + slot - Mm(6) - picTop);
    const QSizeF fitted = QSizeF(g.size).scaled(width_, room, Qt::KeepAspectRatio);
    const QRectF picture((width_ - fitted.width()) / 2, picTop, fitted.width(), fitted.height());
    const int index = static_cast<int>(Current().pictures.size());
    Current().pictures.push_back(&g.png);
    const double w = width_;
    Current().ops.push_back([=](QPainter& p, const std::vector<QImage>& decoded) {
      p.setFont(titleFont);
      p.drawText(QRectF(0, top, w, titleHeight), Qt::TextWordWrap, title);
      p.setFont(lineFont);
      p.drawText(QRectF(0, top + titleHeight + Mm(1), w, lineHeight), Qt::TextWordWrap, g.settings);
      if (index < static_cast<int>(decoded.size()) && !decoded[index].isNull())
        p.drawImage(picture, decoded[index]);
    });
    y_ = top + slot;
  }

 private:
  const QPaintDevice& device_;
  double width_, height_;
  double y_ = 0;
  std::vector<Page> pages_;
};

// The pictures decoded, in the format the writer takes without converting them again.
std::vector<QImage> Decode(const std::vector<const QByteArray*>& pictures) {
  std::vector<QImage> out(pictures.size());
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    out[i].loadFromData(*pictures[i], "PNG");
    out[i] = std::move(out[i]).convertToFormat(QImage::Format_RGB32);
  }
  return out;
}

void LayOut(Layout& l, const ReportContent& c) {
  l.Text(Serif(15, true), c.title, Mm(4), Qt::AlignHCenter);
  l.Text(Serif(12),
         QStringLiteral("Студент, группа: ") + (c.student.trimmed().isEmpty()
                                                    ? QStringLiteral("________________________")
                                                    : c.student.trimmed()),
         Mm(1));
  l.Text(Serif(12),
         QStringLiteral("Дата: ") + c.date.toString("dd.MM.yyyy") + QStringLiteral(", время: ") +
             c.date.toString("HH:mm"),
         Mm(4));
  l.Picture(c.schematic, l.Height() / 3, Mm(4));
  l.Text(Serif(13, true), QStringLiteral("Настройки модели"), Mm(1.5));
  l.Table(c.settings, {0.36, 0.64}, Mm(5));
  l.Text(Serif(13, true), QStringLiteral("Показания"), Mm(1.5));
  if (!c.runStatus.isEmpty()) l.Text(Serif(11, false, true), c.runStatus, Mm(1.5));
  l.Table(c.readings, {0.34, 0.2, 0.46}, 0);
  for (std::size_t i = 0; i < c.graphs.size(); ++i) l.Graph(*c.graphs[i], i % 2 == 0);
}

}  // namespace

QByteArray ReportPdf(const ReportContent& content) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QPdfWriter writer(&buffer);
  writer.setResolution(Resolution);
  writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                   QMarginsF(18, 12, 12, 12), QPageLayout::Millimeter));
  writer.setTitle(content.title);
  QPainter painter;
  if (!painter.begin(&writer)) return {};
  painter.setRenderHint(QPainter::LosslessImageRendering, true);
  painter.setRenderHint(QPainter::Antialiasing, true);

  const QFont footer = Serif(10);
  const double footerHeight = Mm(8);
  Layout layout(writer, writer.width(), writer.height() - footerHeight);
  LayOut(layout, content);

  std::vector<Page>& pages = layout.Pages();
  const int count = static_cast<int>(pages.size());
  std::vector<QImage> decoded = Decode(pages.front().pictures);
  for (int i = 0; i < count; ++i) {
    if (i > 0) writer.newPage();
    std::vector<QImage> next;
    // The writer compresses this page's pictures while the next page's are decoded.
    model::RunOnTwoThreads(
        [&] {
          for (const Page::Op& op : pages[i].ops) op(painter, decoded);
          painter.setFont(footer);
          painter.drawText(QRectF(0, layout.Height(), layout.Width(), footerHeight),
                           Qt::AlignHCenter | Qt::AlignBottom,
                           QStringLiteral("Страница %1 из %2").arg(i + 1).arg(count));
        },
        [&] {
          if (i + 1 < count) next = Decode(pages[i + 1].pictures);
        });
    decoded = std::move(next);
  }
  painter.end();
  return bytes;
}

}  // namespace report
