// drawguide: the screenshots of the user guide, drawn from the program's own windows.
//   drawguide <folder>    writes <name>.png for every name of GuideShots into the folder
// The build runs it (offscreen) before it puts the guide into the program, so the pictures
// always show the windows of the program they come with. The windows are made as the
// program makes them, the settings and the random seed are fixed, and every modal window
// is answered by the script below instead of a user. Each picture is the window's client
// area under a plain caption strip with its title, stored as an 8-bit indexed PNG: exact
// when the window has at most 256 colours, otherwise with a palette chosen by median cut.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QImageWriter>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <vector>

#include "app/Diagramincreaseunit.h"
#include "app/Editfloatunit.h"
#include "app/Startup.h"
#include "app/Unit1.h"
#include "chart/Diagram.h"
#include "instruments/Unitgist.h"
#include "instruments/Unitipv.h"
#include "instruments/Unitkor.h"
#include "model/Generator.h"
#include "model/Mathlib.h"
#include "model/Unitgenerator.h"
#include "model/Unitnlcircuit.h"
#include "model/Unitturn.h"
#include "platform/MessageBox.h"
#include "platform/Modal.h"

namespace {

constexpr std::uint32_t Seed = 20240901;
constexpr int CaptionHeight = 22;
// The offscreen screen: a maximized chart window fills it, and the pages show it at its own
// size beside the guide's contents.
constexpr const char* ScreenConfig =
    R"({"screens": [{"name": "guide", "x": 0, "y": 0, "width": 600, "height": 460,
                     "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})";

QDir outDir;
bool ok = true;

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// ---- 8-bit indexed pictures --------------------------------------------------------------

struct Colour {
  QRgb rgb;
  int count;
};

int Channel(QRgb c, int ch) {
  return ch == 0 ? qRed(c) : ch == 1 ? qGreen(c) : qBlue(c);
}

// A palette of at most 256 colours for the distinct colours of a picture: median cut, each
// box split at the weighted median of its widest channel, the box of most pixels times
// widest range first.
QVector<QRgb> MedianCut(std::vector<Colour> colours) {
  struct Box {
    std::size_t from, to;  // colours[from .. to)
  };
  auto widest = [&](const Box& b, int* channel) {
    int best = -1;
    for (int ch = 0; ch < 3; ++ch) {
      int lo = 255, hi = 0;
      for (std::size_t i = b.from; i < b.to; ++i) {
        lo = std::min(lo, Channel(colours[i].rgb, ch));
        hi = std::max(hi, Channel(colours[i].rgb, ch));
      }
      if (hi - lo > best) {
        best = hi - lo;
        *channel = ch;
      }
    }
    return best;
  };
  auto weight = [&](const Box& b) {
    long long n = 0;
    for (std::size_t i = b.from; i < b.to; ++i) n += colours[i].count;
    return n;
  };
  std::vector<Box> boxes{{0, colours.size()}};
  while (boxes.size() < 256) {
    std::size_t pick = boxes.size();
    double score = 0;
    int channel = 0;
    for (std::size_t k = 0; k < boxes.size(); ++k) {
      if (boxes[k].to - boxes[k].from < 2) continue;
      int ch = 0;
      const double s = static_cast<double>(widest(boxes[k], &ch)) * weight(boxes[k]);
      if (s > score) {
        score = s;
        pick = k;
        channel = ch;
      }
    }
    if (pick == boxes.size()) break;
    Box& b = boxes[pick];
    std::sort(colours.begin() + b.from, colours.begin() + b.to,
              [&](const Colour& x, const Colour& y) {
                return Channel(x.rgb, channel) < Channel(y.rgb, channel);
              });
    const long long half = weight(b) / 2;
    long long seen = 0;
    std::size_t cut = b.from + 1;
    for (std::size_t i = b.from; i + 1 < b.to; ++i) {
      seen += colours[i].count;
      cut = i + 1;
      if (seen >= half) break;
    }
    const Box upper{cut, b.to};
    b.to = cut;
    boxes.push_back(upper);
  }
  QVector<QRgb> palette;
  for (const Box& b : boxes) {
    double r = 0, g = 0, bl = 0, n = 0;
    for (std::size_t i = b.from; i < b.to; ++i) {
      r += qRed(colours[i].rgb) * double(colours[i].count);
      g += qGreen(colours[i].rgb) * double(colours[i].count);
      bl += qBlue(colours[i].rgb) * double(colours[i].count);
      n += colours[i].count;
    }
    palette << qRgb(int(r / n + 0.5), int(g / n + 0.5), int(bl / n + 0.5));
  }
  return palette;
}

QImage Indexed(const QImage& picture) {
  const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
  QHash<QRgb, int> counts;
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) ++counts[line[x] | 0xFF000000u];
  }
  std::vector<Colour> colours;
  for (auto it = counts.cbegin(); it != counts.cend(); ++it) colours.push_back({it.key(), *it});
  std::sort(colours.begin(), colours.end(),
            [](const Colour& a, const Colour& b) { return a.rgb < b.rgb; });
  QVector<QRgb> palette;
  if (colours.size() <= 256) {
    for (const Colour& c : colours) palette << c.rgb;
  } else {
    palette = MedianCut(colours);
  }
  // Every distinct colour to its nearest palette entry.
  QHash<QRgb, uchar> index;
  for (const Colour& c : colours) {
    int best = 0;
    long long bestDistance = -1;
    for (int k = 0; k < palette.size(); ++k) {
      const long long dr = qRed(c.rgb) - qRed(palette[k]);
      const long long dg = qGreen(c.rgb) - qGreen(palette[k]);
      const long long db = qBlue(c.rgb) - qBlue(palette[k]);
      const long long d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
      if (bestDistance < 0 || d < bestDistance) {
        bestDistance = d;
        best = k;
      }
    }
    index.insert(c.rgb, static_cast<uchar>(best));
  }
  QImage out(rgb.size(), QImage::Format_Indexed8);
  out.setColorTable(palette);
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uchar* dst = out.scanLine(y);
    for (int x = 0; x < rgb.width(); ++x) dst[x] = index.value(line[x] | 0xFF000000u);
  }
  return out;
}

// ---- Pictures of windows -----------------------------------------------------------------

// The window's client area under a caption strip with its title, in a thin frame.
QImage Framed(QWidget& w) {
  const QImage client = w.grab().toImage();
  QImage out(client.width() + 2, client.height() + CaptionHeight + 2, QImage::Format_RGB32);
  out.fill(QColor(0x6b, 0x7b, 0x93));
  QPainter p(&out);
  p.fillRect(1, 1, client.width(), CaptionHeight, QColor(0xdc, 0xe3, 0xee));
  QFont f = QApplication::font();
  f.setPixelSize(12);
  f.setBold(true);
  p.setFont(f);
  p.setPen(QColor(0x1f, 0x2a, 0x3a));
  p.drawText(QRect(9, 1, client.width() - 16, CaptionHeight), Qt::AlignVCenter | Qt::AlignLeft,
             w.windowTitle());
  p.drawImage(1, CaptionHeight + 1, client);
  return out;
}

void Save(const QString& name, QWidget& w) {
  Settle();
  const QImage picture = Indexed(Framed(w));
  const QString path = outDir.filePath(name + ".png");
  QImageWriter writer(path, "png");
  writer.setQuality(0);  // the strongest compression
  if (!writer.write(picture)) {
    std::fprintf(stderr, "drawguide: cannot write %s: %s\n", qPrintable(path),
                 qPrintable(writer.errorString()));
    ok = false;
    return;
  }
  std::printf("%s  %dx%d\n", qPrintable(path), picture.width(), picture.height());
}

// A settings window as it stands, shown for the picture and hidden again.
void SaveDialog(const QString& name, QDialog& d) {
  d.show();
  Save(name, d);
  d.hide();
}

// The modal windows the commands open, answered in order.
std::deque<std::function<int(QDialog&)>> answers;

int Answer(QDialog& d) {
  if (answers.empty()) {
    std::fprintf(stderr, "drawguide: unexpected window \"%s\"\n", qPrintable(d.windowTitle()));
    ok = false;
    return QDialog::Rejected;
  }
  auto answer = std::move(answers.front());
  answers.pop_front();
  return answer(d);
}

// A chart viewer: shown (maximized to the screen), drawn, pictured and closed.
void ThenViewer(const QString& name, std::function<void(TDiagramIncrease&)> adjust = {}) {
  answers.push_back([name, adjust](QDialog& d) {
    auto& viewer = static_cast<TDiagramIncrease&>(d);
    viewer.show();
    Settle();
    if (adjust) adjust(viewer);
    Save(name, viewer);
    viewer.close();
    return int(QDialog::Accepted);
  });
}

// The histogram settings: "Авто" and the law of `law`, pictured as `name` when given, then
// "Готово".
void ThenGist(QRadioButton* law, const QString& name) {
  answers.push_back([law, name](QDialog&) {
    law->setChecked(true);
    FormGist->show();
    if (!name.isEmpty()) Save(name, *FormGist);
    FormGist->Button1Click();
    return int(QDialog::Accepted);
  });
}

void SetGenerator(int kind, double A, double Fr, double D, double M) {
  FormGenerator->ComboBox1->setCurrentIndex(kind);
  FormGenerator->ComboBox1Change();
  FormGenerator->EditFloatA->SetVal(A);
  FormGenerator->EditFloatFr->SetVal(Fr);
  FormGenerator->EditFloatD->SetVal(D);
  FormGenerator->EditFloatM->SetVal(M);
}

void Run() {
  mathlib::RandSeed(Seed);
  Form1->SpeedButton3Click();
  Settle();
}

}  // namespace

int main(int argc, char* argv[]) {
  // Offscreen, on a screen of the size the guide's pages show a maximized chart window at.
  QTemporaryDir screenDir;
  const QString screenFile = screenDir.filePath(QStringLiteral("screen.json"));
  {
    QFile f(screenFile);
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(ScreenConfig) != qint64(std::strlen(ScreenConfig))) {
      std::fprintf(stderr, "drawguide: cannot write %s\n", qPrintable(screenFile));
      return 1;
    }
  }
  qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screenFile).toLocal8Bit());
  QApplication app(argc, argv);
  if (argc != 2 || !QDir(QString::fromLocal8Bit(argv[1])).exists()) {
    std::fprintf(stderr, "usage: drawguide <existing folder>\n");
    return 2;
  }
  outDir = QDir(QString::fromLocal8Bit(argv[1]));
  SetUpApplication();
  platform::InstallMessageBox();
  platform::SetModalHook(Answer);

  ShowSplashAtStart = false;
  CreateStartupWindows();
  Form1->resize(756, 470);
  Form1->show();
  Settle();
  Form1->FormPaint();
  Form1->N401Click();  // the bench at 75 %: its labels legible, the picture the page's width
  ApplyFftIndicator(false);

  // The first session of the guide: Gaussian noise through the threshold circuit.
  SetGenerator(model::KindGaussianNoise, 1, 1, 1, 0);
  SaveDialog("generator", *FormGenerator);
  FormCircuit->PageControl1->setCurrentIndex(0);
  SaveDialog("circuit", *FormCircuit);
  SaveDialog("settings", *FormTurn);
  SaveDialog("ipv", *FormIPV);
  SaveDialog("kor", *FormKor);
  Run();
  Save("bench", *Form1);
  // The input density indicator, opened by its own command: its field as the bench fills it.
  answers.push_back([](QDialog& d) {
    SaveDialog("indicator", d);
    return int(QDialog::Accepted);
  });
  Form1->Image6Click();

  ThenGist(FormGist->RadioButton1, "gist");
  ThenViewer("histogram");
  Form1->N30Click();

  // The viewer's tools: the limit buttons shown and the cross-hair over the histogram.
  ThenGist(FormGist->RadioButton1, QString());
  ThenViewer("viewer", [](TDiagramIncrease& v) {
    if (v.UpDown1->isHidden()) v.SpeedButtonLimitClick();
    const QPoint at((v.Diagram1->Get_xb_net() + v.Diagram1->Get_xe_net()) * 3 / 5,
                    (v.Diagram1->Get_yb_net() + v.Diagram1->Get_ye_net()) / 3);
    QMouseEvent move(QEvent::MouseMove, at, v.Diagram1->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(v.Diagram1, &move);
  });
  Form1->N30Click();
  DiagramIncreaseAnalysis->SpeedButtonLimitClick();  // the limit buttons hidden again
  DiagramIncreaseAnalysis->Panel2->clear();

  // A harmonic signal with noise: its oscillogram through the threshold circuit and its
  // correlation function.
  SetGenerator(model::KindHarmonicGaussian, 2, 1, 0.3, 0);
  Run();
  ThenViewer("oscilloscope");
  Form1->Image9Click();
  ThenViewer("correlation");
  Form1->N42Click();

  // The smooth limiter's characteristic.
  FormCircuit->PageControl1->setCurrentIndex(5);
  ThenViewer("characteristic");
  Form1->N44Click();
  FormCircuit->PageControl1->setCurrentIndex(0);

  if (!answers.empty()) {
    std::fprintf(stderr, "drawguide: %zu window(s) never opened\n", answers.size());
    ok = false;
  }
  platform::SetModalHook({});
  delete Form1;
  Form1 = nullptr;
  return ok ? 0 : 1;
}
