"""skin.xml: the caption band, the port and command column, the log, the tab strip, the
eleven pages and the help view."""

from texts import LABELS
from xmlgen import E, FIELD_H, ROW, attrs_of, button, caption, combo, edit, spacer

# One style sheet for the whole window; a few controls add their own.
STYLE = """
QWidget { font-size: 12px; color: #1d2733; }
QGroupBox { background: #ffffff; border: 1px solid #c9d3de; border-radius: 4px;
    margin-top: 7px; font-weight: bold; color: #1f4e79; }
QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 4px; }
QLabel { background: transparent; }
QLineEdit:read-only { background: #eef2f6; }
QPushButton { border: 1px solid #7f9cc0; border-radius: 3px; background: #e8f0fa;
    padding: 2px 8px; font-weight: normal; }
QPushButton:hover { background: #d3e3f6; }
QPushButton:pressed { background: #b9d1ef; }
QPushButton:disabled { color: #98a4b0; border-color: #c5ced8; background: #f2f4f6; }
QPlainTextEdit { border: 1px solid #c9d3de; background: #fbfcfd; font-weight: normal;
    font-family: monospace; }
#CaptionBand { background: #1f4e79; }
#CaptionBand QLabel { color: #ffffff; }
#CaptionBand QPushButton { border: none; border-radius: 0; background: transparent; }
#CaptionBand QPushButton:hover { background: #2d6aa3; }
#CaptionBand #closebtn:hover { background: #d9342b; }
#Ver { font-size: 14px; font-weight: bold; }
#VerDown { color: #c6d8ec; }
#HorizontalLayoutUI6 QPushButton { border: none; border-radius: 0; padding: 0 2px;
    border-bottom: 2px solid #c9d3de; background: #e4ebf3; color: #1f4e79; }
#HorizontalLayoutUI6 QPushButton:hover { background: #d3e3f6; }
#HorizontalLayoutUI6 QPushButton:checked { background: #1f4e79; color: #ffffff;
    border-bottom: 2px solid #f0a30a; font-weight: bold; }
#DeviceState { color: #b03a2e; font-weight: bold; }
#CaptionBand #helpbtn { color: #ffffff; font-size: 16px; font-weight: bold; }
#LogTimes:checked { background: #1f4e79; color: #ffffff; border-color: #1f4e79; }
QPushButton:focus { border: 2px solid #f0a30a; }
#CaptionBand QPushButton:focus { border: 2px solid #f0a30a; background: #2d6aa3; }
#HorizontalLayoutUI6 QPushButton:focus { border: 2px solid #f0a30a; }
"""

# Tab button containers and their options (the button name less its last three characters).
TABS = [
    ("WorkModeTab", ("Work mode", "工作模式")),
    ("ServerTab", ("Servers", "服务中心")),
    ("SerialTab", ("Serial ports", "串口设置")),
    ("IOTab", ("I/O", "I/O设置")),
    ("WirelessTab", ("Wireless", "无线网络")),
    ("GlobalTab", ("Global", "全局参数")),
    ("EquimentTab", ("Management", "设备管理")),
    ("LoraTab", ("LoRa", "LoRa")),
    ("ZigbeeTab", ("ZigBee", "ZigBee")),
    ("GPSTab", ("GPS", "GPS")),
    ("OperationTab", ("Operation", "运行检测")),
]
TAB_W = 90
STRIP_W = 1000
LEFT_W = 320
# On a narrow screen the strip shows this much at least; the arrows bring the rest in.
STRIP_MIN_W = 2 * TAB_W


def label(section, key):
    for sec, k, text in LABELS:
        if sec == section and k == key:
            return text
    raise KeyError(f"{section}/{key}")


def hrow(children, height=ROW, padding=6, name=None, visible=True):
    return E("HorizontalLayout", attrs_of(name=name, height=height, visible=visible,
                                          extra=[("childpadding", str(padding))]), children)


def caption_band():
    language = E("Combo", attrs_of(name="Language", width=100, height=24), [
        E("ListLabelElement", [("text", "English"), ("selected", ("true", None))]),
        E("ListLabelElement", [("text", "中文"), ("selected", (None, "true"))]),
    ])

    def window_button(name, image, tip, visible=True):
        return button(name, None, width=42, height=36, bkimage=image, tooltip=tip,
                      visible=visible)

    return E("HorizontalLayout", attrs_of(name="CaptionBand", height=36, extra=[
        ("inset", "10,0,0,0"), ("childpadding", "8")]), [
        E("Container", attrs_of(name="Logo_Container", width=28, height=28,
                                extra=[("bkimage", "logo.png")])),
        # The titles give way on a narrow screen; the buttons and the language never do.
        E("Text", attrs_of(name="Ver", text=("DTU Configure Tool V1.5.0", "DTU配置工具 V1.5.0"),
                           width=360, height=36, extra=[("minwidth", "160")])),
        E("Text", attrs_of(name="VerDown", text=("2018/03/06 V1.5.0", "2018年03月06日 V1.5.0"),
                           width=180, height=36, extra=[("minwidth", "40")])),
        spacer(),
        caption(("Language", "语言"), width=60),
        language,
        spacer(width=6),
        # The help the first login hid, shown again or hidden.
        button("helpbtn", "?", width=36, height=36,
               tooltip=("Show or hide the help", "显示或隐藏帮助")),
        window_button("minbtn", "btn_min.png", ("Minimise", "最小化")),
        window_button("maxbtn", "btn_max.png", ("Maximise", "最大化")),
        window_button("restorebtn", "btn_restore.png", ("Restore", "还原"), visible=False),
        window_button("closebtn", "btn_close.png", ("Close", "关闭")),
    ])


def group(text, rows, padding=4, name=None):
    height = 35 + ROW * len(rows) + padding * (len(rows) - 1)
    return E("GroupBox", attrs_of(name=name, text=text, height=height,
                                  extra=[("childpadding", str(padding))]), rows)


def left_column():
    port = group(("Serial port", "串口"), [
        hrow([caption(("Port", "端口"), width=80), combo("SerialPort", [], width=200)]),
        hrow([caption(("Baud rate", "波特率"), width=80),
              combo("BaudRate1", ["1200", "2400", "4800", "9600", "19200", "38400", "57600",
                                  "115200"], 3, width=200)]),
        hrow([caption(("Format", "数据格式"), width=80),
              combo("Checkcode", ["8N1", "8E1", "8O1", "8N2", "7E1", "7O1"], 0, width=200)]),
        hrow([spacer(width=80), button("Open", label("OnStartCom", "Open"), width=200)]),
    ])
    pairs = [
        (("Login", ("Log in", "登录"), ("Enter setting mode (+++)", "进入配置模式（+++）")),
         ("quit", ("Log out", "退出登录"), ("Leave setting mode", "退出配置模式"))),
        (("Load", ("Read parameters", "读取参数"), ("Read all parameters", "读取全部参数")),
         ("Save", ("Write parameters", "写入参数"),
          ("Write the changed parameters", "写入修改过的参数"))),
        (("LoadFromFile", ("Load file", "从文件加载"),
          ("Apply a .cfg file to the unit", "把 .cfg 文件写入设备")),
         ("SaveToFile", ("Save to file", "保存到文件"),
          ("Back the unit up to a .cfg file", "把设备参数备份到 .cfg 文件"))),
        (("RestoreFactory", ("Factory reset", "恢复出厂"),
          ("Back the unit up, then restore its factory settings", "先自动备份，再恢复出厂设置")),
         ("SetTime", ("Sync clock", "同步时间"),
          ("Set the unit's clock to this computer's", "把设备时钟设为本机时间"))),
        (("GetVer", ("Version", "版本"), ("Firmware version", "固件版本")),
         ("CSQ", ("Signal", "信号"), ("Signal quality", "信号质量"))),
        (("CPIN", ("SIM state", "SIM状态"), ("SIM card state", "SIM卡状态")),
         ("READFILELOG", ("Event log", "事件日志"), ("The unit's event log", "设备事件日志"))),
    ]
    device_rows = [hrow([button(n, t, width=137, tooltip=tip) for n, t, tip in p])
                   for p in pairs]
    device_rows.append(hrow([caption(("State:", "状态："), width=50),
                             E("Text", attrs_of(name="DeviceState",
                                                text=label("SetDeviceState", "szLoginOff"),
                                                width=220, height=ROW))]))
    device_rows.append(hrow([
        button("Revert", ("Revert", "撤销修改"), width=137,
               tooltip=("Show the unit's values again; nothing is sent", "重新显示设备的数值，不发送任何命令")),
        button("History", ("History", "历史备份"), width=137,
               tooltip=("The unit's automatic backups; write one back", "设备的自动备份，可选择写回")),
    ]))
    device_rows.append(hrow([E("Text", attrs_of(name="PendingChanges", text="", width=280,
                                                height=ROW))]))
    device = group(("Device", "设备操作"), device_rows)
    # The progress of a long job and its Cancel, shown while one runs.
    progress = hrow([E("Progress", attrs_of(name="JobProgress", height=ROW)),
                     button("CancelJobs", ("Cancel", "取消"), width=70)],
                    name="ProgressRow", visible=False)
    # An option of no group is a switch: the time before each log line.
    log_times = E("Option", attrs_of(name="LogTimes", text=("Times", "时间"), width=56,
                                     height=FIELD_H,
                                     extra=[("tooltip", ("Time before each log line",
                                                         "每行日志前显示时间"))]))
    log_head = hrow([caption(("Log", "通信日志"), width=64), spacer(), log_times,
                     button("SaveLog", ("Save log", "保存日志"), width=76,
                            tooltip=("Save the log, passwords masked", "保存日志（密码已隐去）")),
                     button("Clear", ("Clear", "清空"), width=60)])
    # On a short screen the column scrolls rather than pushing the window off the screen.
    return E("VerticalLayout", attrs_of(width=LEFT_W, extra=[("childpadding", "8"),
                                                              ("scroll", "true")]), [
        port, device, progress, log_head, E("RichEdit", attrs_of(name="richedit")),
    ])


def tab_strip():
    tabs = []
    for i, (name, text) in enumerate(TABS):
        option = E("Option", attrs_of(name=name[:-3], text=text, width=TAB_W, height=30, extra=[
            ("group", "tabs")] + ([("selected", "true")] if i == 0 else [])))
        tabs.append(E("HorizontalLayout", attrs_of(name=name, width=TAB_W, height=30), [option]))
    arrow = "QPushButton { border: none; background: transparent; }"
    return hrow([
        button("TabLeft", None, width=24, height=30, bkimage="tab_left.png",
               tooltip=("Earlier pages", "向前"), style=arrow),
        E("HorizontalLayout", attrs_of(name="HorizontalLayoutUI6", width=STRIP_W, height=30,
                                       extra=[("minwidth", str(STRIP_MIN_W)), ("scroll", "clip")]),
          tabs),
        button("TabRight", None, width=24, height=30, bkimage="tab_right.png",
               tooltip=("Later pages", "向后"), style=arrow),
    ], height=30, padding=2)


def find_row():
    """A parameter found by part of its label, control name or AT command; its note beside it."""
    field = edit("FindParam", width=260,
                 tooltip=("Part of a label, control name or AT command (Ctrl+F)",
                          "参数名称、控件名或AT命令的一部分（Ctrl+F）"))
    return hrow([caption(("Find", "查找"), width=40), field,
                 E("Text", attrs_of(name="FindNote", text="", width=600, height=ROW,
                                    extra=[("minwidth", "120")]))])


def right_column(page_elements):
    help_box = E("GroupBox", attrs_of(name="helpGroupBox", text=("Help", "帮助"), height=170),
                 [E("RichEdit", attrs_of(name="HelpRichEdit"))])
    return E("VerticalLayout", attrs_of(extra=[("childpadding", "6")]), [
        find_row(),
        tab_strip(),
        # Each page scrolls by itself when the window is smaller than it.
        E("TabLayout", attrs_of(name="switch"),
          [E(tag, [("scroll", "true")]) for tag in page_elements]),
        help_box,
    ])


def skin(page_elements):
    # The handle between the log's column and the form's: the log can be given more room.
    panes = E("Splitter", attrs_of(name="FormLogSplitter"),
              [left_column(), right_column(page_elements)])
    body = E("HorizontalLayout", attrs_of(extra=[("inset", "8,8,8,8")]), [panes])
    root = E("VerticalLayout", attrs_of(extra=[("style", STYLE)]), [caption_band(), body])
    return E("Window", [("size", "1400,800"), ("caption", "0,0,0,36"), ("roundcorner", "4,4")],
             [root])
