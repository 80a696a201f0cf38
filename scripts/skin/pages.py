"""The eleven form pages. Control names are the unit's parameter names, letter for letter.

Initial visibility and group-box heights follow the default selections, so the form looks as
the layout rules would leave it before a unit has been read. Item lists follow the reading and
writing rules: positions are fixed, and lists read and written by text hold the unit's own
words as item texts, the same in both languages.
"""

from texts import DIO_WORKMODE, PROTOCOL_CUSTOM, SERVER_LABEL1, SERVER_TITLE1
from xmlgen import (CAPTION_W, E, FIELD_W, box, button, caption, combo, edit, hbox, page, pair,
                    row, rows)

NO_YES = [("No", "否"), ("Yes", "是")]
OFF_ON = [("Off", "关闭"), ("On", "开启")]
TEXT_HEX = [("Text", "文本"), ("Hex", "十六进制")]
BAUDS = ["1200", "2400", "4800", "9600", "14400", "19200", "38400", "57600", "115200",
         "230400"]
FRAMES = ["8N1", "8E1", "8O1", "8N2", "7E1", "7O1", "7N2"]
BINDING = [("None", "无"), ("Center 1", "中心1"), ("Center 2", "中心2"), ("Center 3", "中心3"),
           ("Center 4", "中心4"), ("Center 5", "中心5"), ("All", "全部")]
PORTS_FROM_1 = [("Serial 1", "串口1"), ("Serial 2", "串口2"), ("RS485", "RS485")]
# Mapping centres 0..5; 6 leaves the channel free. The I/O control lists keep "None" in both
# languages: the I/O tab rule compares that text.
CENTRES = [(f"Center {i}", f"中心{i}") for i in range(1, 7)]
IO_CONTROL = CENTRES + ["None"]
DIO_MAPPING = CENTRES + [("None", "无")]
# Interface words of the unit; "SMS" is item 3, the one that shows the SMS number row.
DIO_INTERFACES = ["GPRS", "COM", "RS485", "SMS"]


def yes_no(name, text, selected=0, cw=CAPTION_W):
    return pair(text, combo(name, NO_YES, selected), cw)


def field(name, text, cw=CAPTION_W, width=FIELD_W, **kw):
    return pair(text, edit(name, width, **kw), cw)


def switch(name, text):
    """A transfer-channel switch: its image name carries its state."""
    return pair(text, button(name, None, width=52, bkimage="switch_disable.png",
                             style="QPushButton { border: none; background: transparent; }"),
                cw=130)


def channel_title():
    return row(caption(("Data transfer channels", "数据传输通道"), width=300))


# --- Work mode -----------------------------------------------------------------------------

def work_tab():
    protocol = ["PROT", "DCUDP", "DCTCP", "TRNS", "SMSCLI", "SMSSER", PROTOCOL_CUSTOM]
    mode = box(("Work mode", "工作模式"), name="ModeGroupBox", children=[
        row(pair(("Work mode", "工作模式"), combo("Protocolmodel", protocol, 2)),
            hbox("ModeHorizontalLayout3", [caption(
                ("Custom protocol: set the device model and the packets below.",
                 "自定义协议：请在下方设置设备模式和注册/心跳包。"), width=420)],
                visible=False)),
        row(pair(("Modem ID", "设备ID"), edit("Modem'sID number"),
                 name="ModeHorizontalLayout1.1", visible=False),
            field("PhoneNO.", ("Phone number", "手机号码")),
            name="ModeHorizontalLayout1"),
        row(yes_no("Deliver Recved Tcp Data Directly",
                   ("Deliver TCP data directly", "TCP数据直接转发")),
            name="ModeHorizontalLayout1.2", visible=False),
        row(pair(("Device model", "设备模式"), combo("DeviceModel", ["CLI", "SVR"], 0)),
            pair(("Transfer protocol", "传输协议"), combo("Transferprotocol", ["TCP", "UDP"], 0)),
            name="ModeHorizontalLayout2", visible=False),
        row(pair(("Registration / heartbeat", "注册包和心跳包"),
                 combo("RegistrationAndHeart",
                       [("Off", "关闭"), ("Custom packets", "自定义注册包和心跳包"),
                        ("Standard packets", "标准注册包和心跳包"),
                        ("Heartbeat only", "仅心跳包")], 0, width=200)),
            name="ModeHorizontalLayout4", visible=False),
        row(field("ListenPort", ("Listen port", "监听端口")),
            name="ModeHorizontalLayout5", visible=False),
        row(caption(("The heartbeat period is set on the Global page.",
                     "心跳周期在“全局参数”页设置。"), width=420),
            name="ModeHorizontalLayout6", visible=False),
        row(pair(("Packets are hex", "注册/心跳包为十六进制"),
                 combo("RegisterIsHex", TEXT_HEX, 0)),
            name="ModeHorizontalLayout7", visible=False),
        rows(row(field("RegisterInfo", ("Register packet", "注册包"), width=260),
                 field("RegistrationReplyInfo", ("Register reply", "注册应答包"), width=260)),
             row(field("HeartbeatPacket", ("Heartbeat packet", "心跳包"), width=260),
                 field("HeartbeatPacketReplyInfo", ("Heartbeat reply", "心跳应答包"),
                       width=260)),
             name="ModeHorizontalLayout8", visible=False),
        rows(*[row(field(f"sms Phone{i} No", (f"SMS phone {i}", f"短信号码{i}")))
               for i in range(1, 5)],
             name="ModeLayout1.1", visible=False),
        row(yes_no("Show Phone NO", ("Show sender number", "显示来电号码")),
            yes_no("Encode Hex SMS", ("Hex-encoded SMS", "短信十六进制编码")),
            name="ModeLayout1.2", visible=False),
    ])

    methods = [("AUTO (always online)", "AUTO（永久在线）"),
               ("SMSD (SMS activation)", "SMSD（短信激活）"),
               ("CTRL (call activation)", "CTRL（电话激活）"),
               ("DATA (serial data activation)", "DATA（串口数据激活）"),
               ("MIXD (mixed activation)", "MIXD（混合激活）"),
               ("DIO (I/O activation)", "DIO（I/O激活）")]
    io_modes = [("Off", "不使用"), ("Level trigger", "电平触发"), ("Centre mapping", "中心映射")]
    activate = box(("Activation", "激活方式"), name="ActivateGroupBox", children=[
        row(pair(("Activation method", "激活方式"), combo("ActivateMethod", methods, 0, width=220))),
        row(field("ActivationPhoneNO.", ("Control phone", "控制电话号码")),
            field("SMSActivationNO.", ("SMS activation number", "短信激活号码")),
            hbox("ActivateHorizontalLayout1.2", [caption(
                ("Only these numbers wake the unit.", "仅这些号码可以激活设备。"), width=220)]),
            name="ActivateHorizontalLayout1", visible=False),
        row(field("On-line data", ("Online password", "上线数据")),
            field("Offline data", ("Offline password", "下线数据")),
            name="ActivateHorizontalLayout2", visible=False),
        row(pair(("Activation port", "激活串口"), combo("ActivationInterface", PORTS_FROM_1, 0)),
            pair(("Data format", "数据格式"), combo("DataFormat", TEXT_HEX, 0)),
            name="ActivateHorizontalLayout3", visible=False),
        row(pair(("I/O activation", "I/O激活方式"),
                 combo("IOactivationmethods",
                       [("Level trigger (I/O selection)", "电平触发（I/O选择）"),
                        ("Centre mapping (I/O control)", "中心映射（I/O控制）")], 0, width=220)),
            name="ActivateHorizontalLayout4", visible=False),
        row(pair(("Activation input", "激活输入口"),
                 combo("I/O selection", ["DIO1", "DIO2", "DIO3"], 0)),
            name="ActivateHorizontalLayout5", visible=False),
        row(pair(("I/O1 control", "I/O1 控制"), combo("I/O1 control", IO_CONTROL, 6)),
            pair(("I/O2 control", "I/O2 控制"), combo("I/O2 control", IO_CONTROL, 6)),
            name="ActivateHorizontalLayout6", visible=False),
        row(pair(("I/O3 control", "I/O3 控制"), combo("I/O3 control", IO_CONTROL, 6),
                 name="ActivateHorizontalLayout6.1.1", visible=False),
            field("Sms Daemon Password", ("SMS daemon password", "短信守护密码"),
                  name="ActivateHorizontalLayout6.1.2", visible=False),
            name="ActivateHorizontalLayout6.1", visible=False),
        row(pair(("I/O1 mode", "I/O1 模式"), combo("I/O1 Mode", io_modes, 0)),
            pair(("I/O2 mode", "I/O2 模式"), combo("I/O2 Mode", io_modes, 0)),
            name="ActivateHorizontalLayout9", visible=False),
    ])

    debug = box(("Debug output", "调试输出"), children=[
        row(pair(("Debug level", "调试等级"),
                 combo("Debug Level", [("Off", "关闭"), ("Errors", "错误"), ("Information", "信息"),
                                       ("Everything", "详细")], 0)),
            pair(("Debug output port", "调试输出口"), combo("Debugging  port", PORTS_FROM_1, 0),
                 name="DebugHorizontalLayout1", visible=False)),
    ])
    return page([mode, activate, debug])


def field_named(name, text, **kw):
    """A field whose pair is itself the named layout."""
    return field(name, text, **kw)


# Make field() accept a layout name for its pair.
def field(name, text, cw=CAPTION_W, width=FIELD_W, layout=None, visible=True, **kw):  # noqa
    p = pair(text, edit(name, width, **kw), cw, name=kw.pop("name", None) if False else layout,
             visible=visible)
    return p
