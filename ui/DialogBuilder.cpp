#include "ui/DialogBuilder.h"

#include <QFile>
#include <QXmlStreamReader>
#include <cstdio>
#include <cstring>
#include <memory>

#include "ui/Container.h"
#include "ui/Controls.h"
#include "ui/PaintManager.h"
#include "ui/Splitter.h"

namespace {

// Deeper trees than this are not skins; refusing them keeps a hostile file from exhausting
// the stack.
constexpr int kMaxDepth = 64;
// A skin file larger than this is not one of ours.
constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;

CControlUI* MakeKnownControl(const QString& cls) {
    if (cls == "VerticalLayout") return new CVerticalLayoutUI();
    if (cls == "HorizontalLayout") return new CHorizontalLayoutUI();
    if (cls == "Container") return new CContainerUI();
    if (cls == "TabLayout") return new CTabLayoutUI();
    if (cls == "Splitter") return new CSplitterUI();
    if (cls == "GroupBox") return new CGroupBoxUI();
    if (cls == "Button") return new CButtonUI();
    if (cls == "Option") return new COptionUI();
    if (cls == "Text" || cls == "Label") return new CTextUI();
    if (cls == "Edit") return new CEditUI();
    if (cls == "Combo") return new CComboUI();
    if (cls == "RichEdit") return new CRichEditUI();
    if (cls == "Progress") return new CProgressUI();
    if (cls == "Control") return new CSpacerUI();
    return nullptr;
}

bool ParseRect(const QString& text, RECT* r) {
    QByteArray b = text.toUtf8();
    return std::sscanf(b.constData(), "%d,%d,%d,%d", &r->left, &r->top, &r->right, &r->bottom) == 4;
}

bool ParseSize(const QString& text, SIZE* s) {
    QByteArray b = text.toUtf8();
    return std::sscanf(b.constData(), "%d,%d", &s->cx, &s->cy) == 2;
}

class TreeReader {
  public:
    TreeReader(QXmlStreamReader& xml, IDialogBuilderCallback* callback)
        : xml_(xml), callback_(callback) {}

    // Reads the current element and its content; null when the element is skipped.
    std::unique_ptr<CControlUI> ReadElement(int depth) {
        if (depth > kMaxDepth) {
            tooDeep_ = true;
            xml_.skipCurrentElement();
            return nullptr;
        }
        QString cls = xml_.name().toString();
        std::unique_ptr<CControlUI> control(MakeKnownControl(cls));
        if (!control && callback_) {
            QByteArray name = cls.toUtf8();
            control.reset(callback_->CreateControl(name.constData()));
        }
        if (!control) {
            xml_.skipCurrentElement();
            return nullptr;
        }
        for (const QXmlStreamAttribute& a : xml_.attributes()) {
            QByteArray key = a.name().toUtf8();
            QByteArray value = a.value().toUtf8();
            control->SetAttribute(key.constData(), value.constData());
        }
        auto* container = dynamic_cast<CContainerUI*>(control.get());
        auto* combo = dynamic_cast<CComboUI*>(control.get());
        int selected = -1;
        while (xml_.readNextStartElement()) {
            if (combo && xml_.name() == QLatin1String("ListLabelElement")) {
                QByteArray text = xml_.attributes().value("text").toUtf8();
                if (xml_.attributes().value("selected") == QLatin1String("true")) {
                    selected = combo->GetCount();
                }
                combo->Add(new CListLabelElementUI(CStdString(text.toStdString())));
                xml_.skipCurrentElement();
            } else if (container) {
                auto child = ReadElement(depth + 1);
                if (child) container->Add(child.release());
            } else {
                xml_.skipCurrentElement();
            }
        }
        if (combo && selected >= 0) combo->SelectItem(selected);
        return control;
    }

    bool tooDeep() const { return tooDeep_; }

  private:
    QXmlStreamReader& xml_;
    IDialogBuilderCallback* callback_;
    bool tooDeep_ = false;
};

void ApplyWindowAttributes(QXmlStreamReader& xml, CPaintManagerUI* manager) {
    if (!manager) return;
    for (const QXmlStreamAttribute& a : xml.attributes()) {
        if (a.name() == QLatin1String("caption")) {
            RECT r;
            if (ParseRect(a.value().toString(), &r)) manager->SetCaptionRect(r);
        } else if (a.name() == QLatin1String("size")) {
            SIZE s;
            if (ParseSize(a.value().toString(), &s)) manager->SetInitSize(s);
        } else if (a.name() == QLatin1String("roundcorner")) {
            SIZE s;
            if (ParseSize(a.value().toString(), &s)) manager->SetRoundCorner(s);
        }
    }
}

}  // namespace

CControlUI* CDialogBuilder::Create(const char* xmlFile, const char*,
                                   IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                                   CControlUI* parent) {
    error_.clear();
    if (!xmlFile || !*xmlFile) {
        error_ = "no skin file named";
        return nullptr;
    }
    CStdString path =
        xmlFile[0] == '/' ? CStdString(xmlFile) : CPaintManagerUI::GetResourcePath() + xmlFile;
    QFile file(QString::fromUtf8(path.GetData()));
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = "cannot open " + path.str();
        return nullptr;
    }
    if (file.size() > kMaxFileBytes) {
        error_ = "skin file too large: " + path.str();
        return nullptr;
    }
    return CreateFromText(file.readAll().toStdString(), callback, manager, parent);
}

CControlUI* CDialogBuilder::CreateFromText(const std::string& text,
                                           IDialogBuilderCallback* callback,
                                           CPaintManagerUI* manager, CControlUI* parent) {
    error_.clear();
    QXmlStreamReader xml(QByteArray::fromStdString(text));
    if (!xml.readNextStartElement()) {
        error_ = "no root element";
        return nullptr;
    }
    TreeReader reader(xml, callback);
    std::unique_ptr<CControlUI> root;
    if (xml.name() == QLatin1String("Window")) {
        ApplyWindowAttributes(xml, manager);
        // The window's first control element is the root; the rest of the file is ignored.
        while (!root && xml.readNextStartElement()) root = reader.ReadElement(1);
    } else {
        root = reader.ReadElement(1);
    }
    if (xml.hasError()) {
        error_ = "XML error: " + xml.errorString().toStdString();
        return nullptr;
    }
    if (reader.tooDeep()) {
        error_ = "skin nested too deeply";
        return nullptr;
    }
    if (!root) {
        error_ = "no control in the skin";
        return nullptr;
    }
    if (auto* container = dynamic_cast<CContainerUI*>(parent)) {
        container->Add(root.get());
        return root.release();
    }
    return root.release();
}
