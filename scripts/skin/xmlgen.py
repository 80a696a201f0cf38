"""Element helpers for the skin files: one definition, written once per language.

A text is either a plain string (the same in both skins: unit values, numbers, AT words) or
an (English, Chinese) pair. Rows are 25 px high; a group box showing n rows is 35 + 25 n high
(60 for one row), which is how the layout rules size them.
"""


def quote(value):
    """An attribute value in double quotes; line breaks stay, so long style sheets read well."""
    value = value.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")
    return '"' + value.replace('"', "&quot;") + '"'

ROW = 25            # height of a form row
FIELD_H = 23        # edits and lists, leaving a small gap between rows
CAPTION_W = 150     # default caption width
FIELD_W = 150       # default edit / combo width
PAIR_PAD = 6        # caption to field
ROW_PAD = 14        # pair to pair


def tr(text, lang):
    """The text in one language."""
    if text is None or isinstance(text, (str, int)):
        return text
    en, zh = text
    return en if lang == "en" else zh


class E:
    """An element: tag, ordered attributes, children."""

    def __init__(self, tag, attrs=None, children=None):
        self.tag = tag
        self.attrs = list(attrs or [])
        self.children = list(children or [])

    def get(self, key, default=None):
        for k, v in self.attrs:
            if k == key:
                return v
        return default

    def set(self, key, value):
        for i, (k, _) in enumerate(self.attrs):
            if k == key:
                self.attrs[i] = (key, value)
                return
        self.attrs.append((key, value))

    def visible(self):
        return self.get("visible", "true") != "false"

    def width(self):
        return int(self.get("width", 0))

    def write(self, lang, indent=0):
        pad = "    " * indent
        attrs = "".join(f" {k}={quote(str(tr(v, lang)))}" for k, v in self.attrs
                        if tr(v, lang) is not None)
        if not self.children:
            return f"{pad}<{self.tag}{attrs}/>\n"
        inner = "".join(c.write(lang, indent + 1) for c in self.children)
        return f"{pad}<{self.tag}{attrs}>\n{inner}{pad}</{self.tag}>\n"


def attrs_of(name=None, text=None, width=None, height=None, visible=True, extra=()):
    a = []
    if name is not None:
        a.append(("name", name))
    if text is not None:
        a.append(("text", text))
    if width is not None:
        a.append(("width", str(width)))
    if height is not None:
        a.append(("height", str(height)))
    if not visible:
        a.append(("visible", "false"))
    a.extend(extra)
    return a


def caption(text, width=CAPTION_W, name=None):
    return E("Text", attrs_of(name=name, text=text, width=width, height=ROW))


def edit(name, width=FIELD_W, readonly=False, tooltip=None):
    extra = []
    if readonly:
        extra.append(("readonly", "true"))
    if tooltip:
        extra.append(("tooltip", tooltip))
    return E("Edit", attrs_of(name=name, width=width, height=FIELD_H, extra=extra))


def combo(name, items, selected=None, width=FIELD_W):
    children = []
    for i, item in enumerate(items):
        a = [("text", item)]
        if i == selected:
            a.append(("selected", "true"))
        children.append(E("ListLabelElement", a))
    return E("Combo", attrs_of(name=name, width=width, height=FIELD_H), children)


def button(name, text, width=90, height=FIELD_H, bkimage=None, tooltip=None, style=None,
           visible=True):
    extra = []
    if bkimage:
        extra.append(("bkimage", bkimage))
    if tooltip:
        extra.append(("tooltip", tooltip))
    if style:
        extra.append(("style", style))
    return E("Button", attrs_of(name=name, text=text, width=width, height=height,
                                visible=visible, extra=extra))


def spacer(width=None):
    """Takes the free room of a row (or a fixed gap): an empty layout, which can grow, where a
    Control element would build no widget at all."""
    return E("HorizontalLayout", attrs_of(width=width))


def vspacer():
    """Takes the free room below a page's group boxes."""
    return E("VerticalLayout")


def pair(text, field, cw=CAPTION_W, name=None, visible=True):
    """A caption and its field side by side; named when a layout rule shows and hides it."""
    width = cw + PAIR_PAD + field.width()
    return E("HorizontalLayout",
             attrs_of(name=name, width=width, height=ROW, visible=visible,
                      extra=[("childpadding", str(PAIR_PAD))]),
             [caption(text, cw), field])


def hbox(name, parts, visible=True):
    """A named stretch of a row holding several pairs."""
    width = sum(p.width() for p in parts) + ROW_PAD * (len(parts) - 1)
    return E("HorizontalLayout",
             attrs_of(name=name, width=width, height=ROW, visible=visible,
                      extra=[("childpadding", str(ROW_PAD))]), parts)


def row(*parts, name=None, visible=True):
    """A 25 px form row; a trailing spacer keeps the pairs packed to the left."""
    return E("HorizontalLayout",
             attrs_of(name=name, height=ROW, visible=visible,
                      extra=[("childpadding", str(ROW_PAD))]),
             list(parts) + [spacer()])


def rows(*children, name=None, visible=True):
    """A named stack of rows shown and hidden together."""
    return E("VerticalLayout", attrs_of(name=name, visible=visible), list(children))


def visible_rows(element):
    """How many 25 px rows an element takes while its own flags are as written."""
    if not element.visible():
        return 0
    if element.tag != "VerticalLayout" and not element.tag.startswith("Group"):
        return (int(element.get("height", 0)) + ROW - 1) // ROW
    return sum(visible_rows(c) for c in element.children)


def box(text, children, name=None, height=None):
    """A group box; its height fits the rows that are visible as written unless given."""
    if height is None:
        n = sum(visible_rows(c) for c in children)
        height = 35 + ROW * n
    return E("GroupBox", attrs_of(name=name, text=text, height=height), children)


def page(children):
    """A page file's root: the group boxes stacked at the top."""
    return E("VerticalLayout", [("inset", "6,6,6,6"), ("childpadding", "8")],
             list(children) + [vspacer()])


def document(root, lang, note):
    head = '<?xml version="1.0" encoding="UTF-8"?>\n'
    head += f"<!-- {note} -->\n"
    return head + root.write(lang)
