"""Language.ini and Help.txt of both skins, and the labels the pages share with them."""

# [DIO workmode] Text1..Text5: the DIO work-mode item texts, compared by the program.
# Text1..Text4 are the unit's modes 0..3, Text5 its mode 6.
DIO_WORKMODE = [
    ("Off", "关闭"),
    ("Input (report)", "输入（上报）"),
    ("Output (control)", "输出（控制）"),
    ("Mapped to centre", "映射到中心"),
    ("Analogue input", "模拟量输入"),
]
# [Protocolmodel] Text: the custom protocol's item text, written to the unit as CUST.
PROTOCOL_CUSTOM = ("Custom", "自定义")
SERVER_TITLE1 = ("Main server IP", "主服务器IP")
SERVER_LABEL1 = ("Main server port", "主服务器端口")
SERVER_TITLE2 = ("Server 1 IP", "服务器1 IP")
SERVER_LABEL2 = ("Server 1 port", "服务器1端口")

# Section, key, (English, Chinese). A value that must keep a trailing blank is quoted.
LABELS = [
    # The title of the program's message boxes.
    ("Program", "Title", ("DTU Configure Tool", "DTU配置工具")),
    ("WinMain", "WorkThread",
     ("The worker thread could not be started: device commands are not available.",
      "工作线程无法启动，设备命令不可用。")),
    ("ComSend", "send", ("Send", "发送")),
    ("WorkerJobThreadProc", "SaveSuccess", ("Parameter saved.", "参数保存成功。")),
    ("WorkerJobThreadProc", "SaveError", ("The unit refused the parameter.", "设备拒绝了该参数。")),
    ("WorkerJobThreadProc", "FactorySuccess",
     ("Factory settings restored.", "已恢复出厂设置。")),
    ("WorkerJobThreadProc", "FactoryError",
     ("The unit could not restore the factory settings.", "恢复出厂设置失败。")),
    ("WorkerJobThreadProc", "OutTime",
     ("No answer from the unit in time.", "设备应答超时。")),
    ("WorkerJobThreadProc", "NotSent",
     ("Not sent, the port did not take the whole command", "未发送，串口未能写出完整命令")),
    ("WorkerJobThreadProc", "LateAnswer", ("Late answer:", "迟到的应答：")),
    ("WorkerJobThreadProc", "CommandError", ("The unit refused the command.", "设备拒绝了该命令。")),
    ("WorkerJobThreadProc", "SilentNotSent",
     ("The unit does not answer: {n} commands were not sent.", "设备无应答：{n} 条命令未发送。")),
    ("OnStartCom", "Open", ("Open port", "打开串口")),
    ("OnStartCom", "Close", ("Close port", "关闭串口")),
    ("OnStartCom", "OpenNotice",
     ("Port opened. Switch the unit on now, or press Log in if it is running.",
      "串口已打开。请给设备上电；如设备已在运行，请点击“登录”。")),
    ("OnStartCom", "CloseNotice", ("Port closed.", "串口已关闭。")),
    ("OnStartCom", "OpenError",
     ("The port could not be opened (in use, missing or no permission).",
      "无法打开串口（被占用、不存在或无权限）。")),
    ("OnStartCom", "LostNotice",
     ("The port was lost: the device was unplugged or disappeared.",
      "串口已断开：设备被拔出或已消失。")),
    ("OnStartCom", "NoPort", ("No serial port is chosen.", "未选择串口。")),
    ("OnStartCom", "BadBaud",
     ('Baud rate "{text}" is not a number.', "波特率“{text}”不是数字。")),
    ("OnStartCom", "BadFormat",
     ('Character format "{text}" is not like 8N1.', "校验格式“{text}”不是 8N1 这样的格式。")),
    ("OnStartCom", "PortNotFound",
     ("{device}: not found; is the adapter plugged in?", "{device}：未找到，请检查适配器是否已插好。")),
    ("OnStartCom", "PortNoPermission",
     ("{device}: permission denied; join the dialout group with: sudo usermod -aG dialout {user}"
      " (then log in again)",
      "{device}：没有权限。请执行 sudo usermod -aG dialout {user} 加入 dialout 组，然后重新登录。")),
    ("OnStartCom", "PortBusy",
     ("{device}: in use by another program.", "{device}：已被其他程序占用。")),
    ("OnStartCom", "PortHeld",
     ("{device}: in use, held by PID {pid} ({program}).",
      "{device}：已被占用，占用进程 PID {pid}（{program}）。")),
    ("OnStartCom", "PortLost",
     ("{device}: the device was lost (unplugged or hung up).", "{device}：设备已断开（被拔出或挂断）。")),
    ("OnStartCom", "PortNotSerial", ("{device}: not a serial port.", "{device}：不是串口。")),
    ("OnStartCom", "PortRefused",
     ("{device}: the server refused the connection; is that its port, and is it serving it?",
      "{device}：服务器拒绝连接，请检查端口号及服务器是否开放该端口。")),
    ("OnStartCom", "PortUnreachable",
     ("{device}: the server cannot be reached; check its address and the network.",
      "{device}：无法连接到服务器，请检查地址和网络。")),
    ("OnStartCom", "PortNoAnswer",
     ("{device}: the server did not answer within 5 s.", "{device}：服务器 5 秒内无应答。")),
    ("OnStartCom", "PortServerBusy",
     ('{device}: the server says the port is in use ("{text}").',
      "{device}：服务器称该串口已被占用（“{text}”）。")),
    ("OnStartCom", "PortServerClosed",
     ('{device}: the server closed the connection, saying "{text}".',
      "{device}：服务器关闭了连接，并称“{text}”。")),
    ("OnStartCom", "PortUnsupported",
     ("{device}: the driver does not support this setting.", "{device}：驱动不支持该设置。")),
    ("OnStartCom", "PortRefusedSetting",
     ("{device}: the line refused the settings ({step}); the port was closed.",
      "{device}：串口拒绝了该设置（{step}），串口已关闭。")),
    ("OnStartCom", "PortFailed", ("{device}: could not be used.", "{device}：无法使用。")),
    ("SetDeviceState", "szLoginOn", ("Logged in (setting mode)", "已登录（配置模式）")),
    ("SetDeviceState", "szLoginOff", ("Not logged in", "未登录")),
    # The progress bar under the device box and its Cancel.
    ("Progress", "Reading", ("Reading parameters… {done} of {total} KB",
                             "正在读取参数… {done} / {total} KB")),
    ("Progress", "BackingUp", ("Backing the unit up… {done} of {total} KB",
                               "正在备份设备… {done} / {total} KB")),
    ("Progress", "ReadingForApply", ("Reading the unit before writing the file… {done} of {total} KB",
                                     "写入文件前读取设备… {done} / {total} KB")),
    ("Progress", "CheckingKept", ("Checking what the unit kept… {done} of {total} KB",
                                  "正在核对设备保存的参数… {done} / {total} KB")),
    ("Progress", "Writing", ("Writing {n} of {total}: {name}", "正在写入 {n} / {total}：{name}")),
    ("Progress", "Restoring", ("Restoring the factory settings…", "正在恢复出厂设置…")),
    ("Progress", "Done", ("Done", "完成")),
    ("Progress", "Nothing", ("nothing", "无")),
    ("Progress", "Cancelled", ("Cancelled.", "已取消。")),
    # How a run ended, on the bar, and the log's account of its writes.
    ("Progress", "EndRefused", ("Done, but the unit refused: {names}", "完成，但设备拒绝了：{names}")),
    ("Progress", "EndNoAnswer", ("No answer from the unit: {names}", "设备没有应答：{names}")),
    ("Progress", "EndCancelled", ("Cancelled", "已取消")),
    ("Progress", "EndPortLost", ("Ended: the port was lost", "已中止：串口已断开")),
    ("Progress", "EndPortClosed", ("Ended: the port was closed", "已中止：串口已关闭")),
    ("Progress", "Written", ("Written: {names}.", "已写入：{names}。")),
    ("Progress", "Refused", ("Refused by the unit: {names}.", "设备拒绝：{names}。")),
    ("Progress", "Unknown",
     ("Sent, but no answer came (the unit may or may not hold it): {names}.",
      "已发送但没有应答（设备不一定已保存）：{names}。")),
    ("Progress", "NotSent", ("Not sent: {names}.", "未发送：{names}。")),
    ("Notify", "IpNotice",
     ("The address contains a space. Please check it.", "地址中含有空格，请检查。")),
    ("Notify", "ServerCount",
     ("This unit needs at least one server; the count is set back to 1.",
      "该设备至少需要一个服务器，数量已改回1。")),
    ("Notify", "ValueNotice",
     ('"Value not written, it holds control characters: "', '"数值含有控制字符，未写入："')),
    ("Notify", "UnitValueItem", ("(the unit's own value)", "（设备自身的值）")),
    ("Notify", "NoReadNotice",
     ("Nothing was written: read the unit first (Read parameters), so that only your changes"
      " are sent.",
      "未写入：请先点击“读取参数”，只有您修改的参数才会发送。")),
    ("Notify", "NotKept", ("The unit answered OK but did not keep: ", "设备回复了OK但没有保存：")),
    ("Notify", "NotKeptBox",
     ("The unit answered OK to these settings but does not hold them (sent -> held):",
      "设备对以下参数回复了OK，但并未保存（发送值 -> 设备值）：")),
    ("Notify", "ReadBackMissing",
     ("The unit sent no listing after the writes: they could not be checked.",
      "写入后设备没有返回参数列表，无法核对写入结果。")),
    ("Notify", "EncodingNotice",
     ('"Value not written, the unit\'s code page (GBK) cannot hold a character of: "',
      '"数值含有设备编码（GBK）无法表示的字符，未写入："')),
    ("ModeTabItemChange", "ServerTitle1", SERVER_TITLE1),
    ("ModeTabItemChange", "Server's Label1", SERVER_LABEL1),
    ("ModeTabItemChange", "ServerTitle2", SERVER_TITLE2),
    ("ModeTabItemChange", "Server's Label2", SERVER_LABEL2),
] + [("DIO workmode", f"Text{i + 1}", text) for i, text in enumerate(DIO_WORKMODE)] + [
    ("Protocolmodel", "Text", PROTOCOL_CUSTOM),
    ("onLoadFrommFile", "ReadError",
     ("The configuration file could not be read.", "无法读取配置文件。")),
    ("SaveToFile", "OpenError",
     ("The configuration file could not be created.", "无法创建配置文件。")),
    ("SaveToFile", "Saved", ("Parameters saved to {path}.", "参数已保存到 {path}。")),
    ("InitValue", "Text", ("Help.txt was not found.", "未找到帮助文件 Help.txt。")),
    ("SwitchLanguage", "SaveError",
     ("The language could not be saved in {path}; the program stays in this language.",
      "无法把语言保存到 {path}，程序保持当前语言。")),
    ("SwitchLanguage", "RestartError",
     ("The program could not start again; the new language shows at the next start.",
      "程序无法重新启动，新语言将在下次启动时生效。")),
]

# The port list's reasons and the reopening of a port whose adapter came back.
LABELS += [
    ("PortList", "NoPermission",
     ("no permission: sudo usermod -aG {group} {user}, then log in again",
      "无权限：请执行 sudo usermod -aG {group} {user}，然后重新登录")),
    ("PortList", "InUse", ("in use by PID {pid} ({program})", "已被 PID {pid}（{program}）占用")),
    ("PortList", "InUseUnnamed",
     ("in use by another program (Windows does not say which)",
      "已被其他程序占用（Windows 不提供占用程序的名称）")),
    ("PortList", "NoAccess",
     ("There are serial ports, but this user may use none of them. Join their group with:"
      " sudo usermod -aG {group} {user} (then log in again).",
      "本机有串口，但当前用户无权使用。请执行 sudo usermod -aG {group} {user} 加入该组，然后重新登录。")),
    ("Reopen", "Waiting",
     ("{device} will be reopened at {baud} {format} when it is plugged in again.",
      "{device} 重新插入后将以 {baud} {format} 重新打开。")),
    ("Reopen", "Back",
     ("The adapter is back as {device}; reopening it at {baud} {format}.",
      "适配器已重新插入（{device}），正在以 {baud} {format} 重新打开。")),
    ("Reopen", "NoSettings",
     ("{device} is back, but {baud} {format} is not in the lists: open it by hand.",
      "{device} 已重新插入，但列表中没有 {baud} {format}，请手动打开。")),
    ("Reopen", "LoggingIn", ("Reopened; logging in again.", "已重新打开，正在重新登录。")),
]

# The port list's entries for ports on a network serial server.
LABELS += [
    ("NetworkPort", "AddEntry", ("Add network port…", "添加网络端口…")),
    ("NetworkPort", "RemoveEntry", ("Remove network port…", "删除网络端口…")),
    ("NetworkPort", "AddCaption", ("Add network port", "添加网络端口")),
    ("NetworkPort", "AddPrompt",
     ("Port on a network serial server: HOST:PORT or rfc2217://HOST:PORT (RFC 2217),"
      " tcp://HOST:PORT (raw TCP)",
      "串口服务器上的端口：主机:端口 或 rfc2217://主机:端口（RFC 2217），tcp://主机:端口（原始 TCP）")),
    ("NetworkPort", "BadForm",
     ('"{text}" is no network port: type HOST:PORT, rfc2217://HOST:PORT or tcp://HOST:PORT.',
      "“{text}”不是网络端口：请输入 主机:端口、rfc2217://主机:端口 或 tcp://主机:端口。")),
    ("NetworkPort", "NoHost",
     ('"{text}" names no host before the port.', "“{text}”中端口前没有主机。")),
    ("NetworkPort", "BadHost",
     ('"{text}": "{host}" is no host name or address (an IPv6 address goes in brackets:'
      " [::1]:2217).",
      "“{text}”：“{host}”不是主机名或地址（IPv6 地址请加方括号：[::1]:2217）。")),
    ("NetworkPort", "BadPort",
     ('"{text}": the port is a number from 1 to 65535.', "“{text}”：端口应为 1 到 65535 之间的数字。")),
    ("NetworkPort", "RemoveCaption", ("Remove network port", "删除网络端口")),
    ("NetworkPort", "RemovePrompt", ("Network port to take off the list:", "要从列表中删除的网络端口：")),
    ("NetworkPort", "NotRemembered",
     ("{device} is listed, but config.ini could not be written: it is not remembered for the"
      " next start.",
      "{device} 已列出，但无法写入配置文件，下次启动时不会保留。")),
]

# The port's error box.
LABELS += [
    ("ReportError", "Caption", ("Serial port error", "串口错误")),
    ("ReportError", "Failed", ("WARNING: {operation} failed:", "警告：{operation} 失败：")),
    ("ReportError", "Port", ("Port: {port}", "串口：{port}")),
    ("ReportError", "NotFound", ("the device is not there.", "设备不存在。")),
    ("ReportError", "Permission", ("no permission to use the device.", "无权使用该设备。")),
    ("ReportError", "Busy", ("the device is in use.", "设备被占用。")),
    ("ReportError", "Lost", ("the device was lost (unplugged or hung up).", "设备已断开（被拔出或挂断）。")),
    ("ReportError", "NotSerial", ("not a serial port.", "不是串口。")),
    ("ReportError", "Unsupported",
     ("the driver does not support this setting.", "驱动不支持该设置。")),
    ("ReportError", "Other", ("the device could not be used.", "设备无法使用。")),
    ("ReportError", "TimedOut",
     ("the line did not take the bytes in time.", "串口未能及时发出数据。")),
]

# Pending edits, the review before writing, the automatic backups and their history.
LABELS += [
    ("Backup", "Saved", ('"Backup of the unit saved: "', '"设备参数已自动备份："')),
    ("Backup", "Failed",
     ('"The backup could not be saved; the writes go ahead: "', '"无法保存自动备份，写入继续进行："')),
    ("Backup", "NoListing",
     ("No backup was taken: nothing was read from the unit since the port opened.",
      "未能自动备份：本次打开串口后尚未读取设备参数。")),
    ("Backup", "FactoryConfirm",
     ('"Restore the factory settings? Every setting of the unit is replaced. Its settings were'
      ' backed up first to: "',
      "确定恢复出厂设置吗？设备的全部参数将被替换。当前参数已先备份到：")),
    ("Backup", "FactoryNoBackup",
     ("Restore the factory settings? Every setting of the unit is replaced, and no backup could"
      " be taken (see the log). Read the unit first (Read parameters) to have one.",
      "确定恢复出厂设置吗？设备的全部参数将被替换，且未能自动备份（见日志）。"
      "请先点击“读取参数”以便备份。")),
    ("History", "Caption", ("History", "历史备份")),
    ("History", "Prompt",
     ("The unit's backups, newest first. The chosen one is compared with the unit and"
      " reviewed before anything is written.",
      "设备的自动备份（最新在前）。所选备份会与设备比较，核对后才写入。")),
    ("History", "Row", ("{time}: differing from the unit: {count}", "{time}：与设备有 {count} 项不同")),
    ("History", "None", ("No backup of this unit is stored yet.", "尚无该设备的备份。")),
    ("History", "NoRead",
     ("Read the unit first (Read parameters): its backups are found by its type and ID number.",
      "请先点击“读取参数”：按设备型号和ID号查找其备份。")),
    ("Review", "Pending", ("{count} changes pending", "{count} 项修改待写入")),
    ("Review", "PendingOne", ("1 change pending", "1 项修改待写入")),
    ("Review", "Caption", ("Review the changes before writing", "写入前核对修改")),
    ("Review", "Parameter", ("Parameter", "参数")),
    ("Review", "UnitValue", ("On the unit", "设备当前值")),
    ("Review", "NewValue", ("New value", "新值")),
    ("Review", "Counts",
     ("{checked} of {total} changes will be written.", "将写入 {total} 项修改中的 {checked} 项。")),
    ("Review", "Write", ("Write", "写入")),
    ("Review", "Cancel", ("Cancel", "取消")),
    ("Review", "Hidden",
     ("not written: its row is hidden by the current settings", "不写入：当前设置下该行已隐藏")),
    ("Review", "TabOff",
     ("not written: its tab is not used by this unit", "不写入：该设备不使用此页面")),
    # A value as the form shows it, with what the unit is sent where the two differ; a
    # transfer-channel switch by its caption and state.
    ("Review", "Shown", ("{shown} ({value})", "{shown}（{value}）")),
    ("Review", "Switch", ("{switch}: {state}", "{switch}：{state}")),
    ("Review", "On", ("On", "开启")),
    ("Review", "Off", ("Off", "关闭")),
]

# Save log: where the session log went, or why it could not be written.
LABELS += [
    ("SaveLog", "Saved",
     ("Log saved to {path} (passwords masked).", "日志已保存到 {path}（密码已隐去）。")),
    ("SaveLog", "Failed",
     ("The log could not be saved to {path}: {reason}", "无法把日志保存到 {path}：{reason}")),
    # Finding a parameter: why a match cannot be shown, and the field's own notes.
    ("Find", "HiddenWhile", ("hidden while {list} is {choice}", "“{list}”为“{choice}”时隐藏")),
    ("Find", "PageOffWhile",
     ("page {page} is off while {list} is {choice}", "“{list}”为“{choice}”时不提供“{page}”页")),
    ("Find", "NoModule",
     ("page {page} is offered only for a unit with that module", "仅带该模块的设备提供“{page}”页")),
    ("Find", "PageOff", ("page {page} is not offered now", "目前不提供“{page}”页")),
    ("Find", "Hidden", ("hidden by the present settings", "被当前设置隐藏")),
    ("Find", "NoMatch", ('No parameter matches "{text}".', "没有与“{text}”匹配的参数。")),
    ("Find", "Matches", ("{count} found; Enter or a click goes there.", "找到 {count} 个；按回车或点击即可跳转。")),
]


# What is checked before anything is written: a value, a file, the unit a file comes from and
# the backup taken first.
LABELS += [
    ("Notify", "SpaceNotice",
     ('"Value not written, it begins or ends with a space, which the unit\'s listing never shows'
      ' back: "',
      '"数值首尾含有空格（设备参数列表不会显示），未写入："')),
    ("Notify", "TypeNotice",
     ('"Value not written, the parameter cannot take it: "', '"该参数不接受此数值，未写入："')),
    ("Notify", "UnitValueNotice",
     ('"Value not written, its list cannot show it and it is not the unit\'s: "',
      '"列表无法显示该值，且不是设备当前值，未写入："')),
    ("ValueCheck", "NotAddress",
     ("an address is a dotted IPv4 address such as 192.0.2.10, or a host name",
      "地址应为点分 IPv4 地址（如 192.0.2.10）或主机名")),
    ("ValueCheck", "NotIpAddress",
     ("a dotted IPv4 address such as 192.0.2.10", "应为点分 IPv4 地址（如 192.0.2.10）")),
    ("ValueCheck", "NotNumber", ("a whole number: digits only", "应为整数（仅限数字）")),
    ("ValueCheck", "LeadingZero",
     ("a number does not start with 0", "数字不能以 0 开头")),
    ("ValueCheck", "NotPort", ("a port is a number from 0 to 65535", "端口应为 0 到 65535 之间的数字")),
    ("ValueCheck", "NumberTooLong",
     ("more digits than any setting takes", "数字位数超过任何参数的范围")),
    ("LoadFile", "Empty", ("The file is empty.", "文件为空。")),
    ("LoadFile", "NoAnchor",
     ('It is not a listing of a unit: it has no line "Access Point Name:".',
      "这不是设备的参数列表：没有“Access Point Name:”一行。")),
    ("LoadFile", "NoValues",
     ("It is not a listing of a unit: it holds no parameter.", "这不是设备的参数列表：其中没有参数。")),
    ("LoadFile", "LabelsTwice",
     ("It gives {labels} on more than one line: which value is meant is unknown.",
      "文件中 {labels} 出现在多行，无法确定应采用哪个值。")),
    ("LoadFile", "ValuesAboveAnchor",
     ('It gives {labels} above "Access Point Name:", where no value is read.',
      "文件在“Access Point Name:”之前给出了 {labels}，这些值不会被读取。")),
    ("LoadFile", "Cut",
     ("The file ends without the listing's closing OK: it may have been cut short. It holds"
      " {count} values; only those are shown and written. Go on?",
      "文件结尾缺少参数列表的结束标志 OK，可能不完整。其中有 {count} 个参数，只显示和写入这些参数。继续吗？")),
    ("LoadFile", "Shown",
     ("{path} is shown: {count} values. Nothing is written to a unit until Write parameters.",
      "已显示 {path}：{count} 个参数。点击“写入参数”之前不会写入设备。")),
    ("LoadFile", "CutNotice",
     ("The file ends without the listing's closing OK; it holds {count} values.",
      "文件结尾缺少参数列表的结束标志 OK，其中有 {count} 个参数。")),
    ("LoadFile", "OtherDevice",
     ('The file comes from a unit of type "{file}"; this unit is a "{unit}". Write it anyway?'
      " Only the parameters this unit has are written.",
      "文件来自型号为“{file}”的设备，而当前设备为“{unit}”。仍要写入吗？只写入当前设备具有的参数。")),
    ("LoadFile", "OtherDeviceRefused",
     ('Nothing was written: the file comes from a unit of type "{file}"; this unit is a'
      ' "{unit}".',
      "未写入：文件来自型号为“{file}”的设备，而当前设备为“{unit}”。")),
    ("Backup", "Same",
     ('"The unit holds what its newest backup holds: "', '"设备参数与最新备份相同："')),
    ("Backup", "FailedAsk",
     ("The unit could not be backed up first ({reason}). Write to it without a backup?",
      "无法先备份设备（{reason}）。仍要在没有备份的情况下写入吗？")),
    ("Backup", "Stopped",
     ('"Nothing was written: the unit could not be backed up first: "',
      '"未写入：无法先备份设备："')),
]


# Nothing thrown away: the questions before pending edits go, and leaving the window.
LABELS += [
    ("Discard", "Load",
     ("{count} changes are not on the unit yet. Reading the unit shows its values instead:"
      " discard the changes?",
      "有 {count} 项修改尚未写入设备。读取设备将显示设备的值，放弃这些修改吗？")),
    ("Discard", "LoadOne",
     ("1 change is not on the unit yet. Reading the unit shows its values instead:"
      " discard the change?",
      "有 1 项修改尚未写入设备。读取设备将显示设备的值，放弃这些修改吗？")),
    ("Discard", "Revert",
     ("Revert shows the unit's values again: discard the {count} changes that are not on the"
      " unit?",
      "撤销将重新显示设备的值：放弃 {count} 项尚未写入设备的修改吗？")),
    ("Discard", "RevertOne",
     ("Revert shows the unit's values again: discard the change that is not on the unit?",
      "撤销将重新显示设备的值：放弃 1 项尚未写入设备的修改吗？")),
    ("Discard", "Close",
     ("{count} changes are not on the unit yet. Close the program and discard them?",
      "有 {count} 项修改尚未写入设备。关闭程序并放弃这些修改吗？")),
    ("Discard", "CloseOne",
     ("1 change is not on the unit yet. Close the program and discard it?",
      "有 1 项修改尚未写入设备。关闭程序并放弃这些修改吗？")),
    ("Discard", "Language",
     ("{count} changes are not on the unit yet. Restart in the other language and discard them?",
      "有 {count} 项修改尚未写入设备。以另一种语言重新启动并放弃这些修改吗？")),
    ("Discard", "LanguageOne",
     ("1 change is not on the unit yet. Restart in the other language and discard it?",
      "有 1 项修改尚未写入设备。以另一种语言重新启动并放弃这些修改吗？")),
    ("Leave", "Waiting",
     ("Closing once the command on the line is answered and the unit has left its setting mode"
      " (at+quit). Close again to quit at once.",
      "正在关闭：等待当前命令应答，并让设备退出配置模式（at+quit）。再次关闭可立即退出。")),
    ("Leave", "NotSent",
     ("Not sent, the program is closing: {names}.", "程序正在关闭，未发送：{names}。")),
    # A login the unit never answered, and how a run ended when it was no plain success.
    ("Login", "NoAnswer",
     ("The unit did not answer +++ within {seconds} s: it is not in its setting mode. Is it"
      " switched on, and is the baud rate its own?",
      "设备在 {seconds} 秒内没有应答 +++，未进入配置模式。请检查设备是否上电、波特率是否正确。")),
    ("DeviceNote", "NoAnswer", ("Not logged in: the unit did not answer", "未登录：设备没有应答")),
    ("DeviceNote", "RunNoAnswer",
     ("Setting mode not sure: the unit did not answer", "配置模式不确定：设备没有应答")),
    ("DeviceNote", "PortLost", ("Not logged in: the port was lost", "未登录：串口已断开")),
    # Why a typed value would be refused, on the field.
    ("ValueFault", "NotAddress",
     ("An address is a dotted IPv4 address (such as 192.0.2.10) or a host name.",
      "地址应为点分IPv4地址（如 192.0.2.10）或主机名。")),
    ("ValueFault", "NotIpAddress",
     ("An address here is a dotted IPv4 address, such as 192.0.2.10.",
      "此处地址应为点分IPv4地址，如 192.0.2.10。")),
    ("ValueFault", "NotNumber", ("A whole number is needed: digits only.", "应为整数：只能是数字。")),
    ("ValueFault", "LeadingZero",
     ("A number does not start with 0 (the unit would list it without).",
      "数字不能以0开头（设备显示时会去掉）。")),
    ("ValueFault", "NotPort", ("A port is a number from 0 to 65535.", "端口应为0到65535之间的数字。")),
    ("ValueFault", "NumberTooLong",
     ("The number has more digits than any setting takes.", "数字位数超过了任何参数的范围。")),
]


def language_ini(lang):
    title = "English" if lang == "en" else "Chinese"
    out = [f"; Labels of the DTU configuration tool, {title}. UTF-8.", ""]
    # A section is written once, where it first appears: readers take its first occurrence only.
    sections = {}
    for sec, key, text in LABELS:
        sections.setdefault(sec, []).append((key, text))
    for i, (sec, entries) in enumerate(sections.items()):
        if i > 0:
            out.append("")
        out.append(f"[{sec}]")
        for key, text in entries:
            out.append(f"{key}={text[0] if lang == 'en' else text[1]}")
    return "\n".join(out) + "\n"


HELP_EN = """DTU configuration tool - quick help

1. Connect
   Connect the unit's configuration serial port to this computer. Pick the port,
   the baud rate of the unit's configuration port and the character format
   (normally 8N1), then press "Open port". The log shows every command sent and
   everything the unit answers.
   A unit on a network serial server: pick "Add network port" at the end of the
   port list and type the server's port as HOST:PORT or rfc2217://HOST:PORT
   (RFC 2217), or tcp://HOST:PORT (raw TCP, the server's port set up already).
   The list keeps it for the next start; "Remove network port" takes it off.

2. Log in (setting mode)
   Switch the unit on, or restart it, while the port is open: the tool answers the
   unit's start-up prompt and the unit enters setting mode. If the unit is already
   running, press "Log in" instead (it sends +++). The state line shows
   "Logged in" and the device buttons become available.

3. Read the parameters
   Press "Read parameters". All parameters are shown on the pages; the pages and
   rows that do not apply to the unit's work mode and options are hidden.

4. Change and write
   Change the values on the pages, then press "Write parameters". A review lists
   every value to be written with the unit's value; uncheck what should stay, then
   Write (Enter) or Cancel (Esc). Only values that differ from the unit's and that
   are shown are written, one command each; the log confirms each one. Values the unit refuses stay unchanged; correct them and
   write again.

5. Back up and restore
   "Save to file" reads the unit and stores its complete parameter listing in a
   .cfg file. "Load file" opens such a file, shows it on the pages and writes every
   value that differs to the unit, after the same review. Before the first write of
   each connection the program itself backs the unit up (the log names the file).

6. Factory settings
   "Factory reset" backs the unit up, names the backup and asks before it restores
   the unit's factory settings. Read the parameters again afterwards.

7. Other commands
   "Sync clock" sets the unit's clock to this computer's time. "Version",
   "Signal", "SIM state" and "Event log" query the unit. The Operation page sends
   raw commands such as AT+LIST. Click into "Current network" on the Wireless page
   to ask for the network mode.

8. Log out
   Press "Log out": the unit leaves setting mode and starts working with its new
   settings. It also leaves setting mode by itself after some time without
   commands. "Close port" ends the connection.

Language: pick English or Chinese in the title bar; the program restarts.
"""

HELP_ZH = """DTU 配置工具 - 快速帮助

1. 连接
   用串口线把设备的配置口连接到电脑。选择串口、设备配置口的波特率和数据格式
   （通常为 8N1），然后点击“打开串口”。日志中显示发送的每条命令和设备的全部应答。
   设备接在网络串口服务器上时：在串口列表末尾选择“添加网络端口…”，输入服务器上的
   端口：主机:端口 或 rfc2217://主机:端口（RFC 2217），或 tcp://主机:端口（原始
   TCP，服务器端口已设置好）。列表会保留到下次启动；“删除网络端口…”可将其删除。

2. 登录（配置模式）
   串口打开后给设备上电或重启设备：工具会应答设备的启动提示，设备进入配置模式。
   如果设备已在运行，请点击“登录”（发送 +++）。状态栏显示“已登录”后，
   设备操作按钮即可使用。

3. 读取参数
   点击“读取参数”，全部参数显示在各页面中；与当前工作模式和选项无关的页面和行会被隐藏。

4. 修改并写入
   在页面上修改数值后点击“写入参数”。只有与设备不同且正在显示的数值会被写入，
   每个数值一条命令，日志中逐条确认。写入前会列出将写入的数值和设备当前值，可取消勾选，
   然后“写入”（回车）或“取消”（Esc）。设备拒绝的数值保持不变，修改后可再次写入。

5. 备份与恢复
   “保存到文件”读取设备并把完整的参数列表保存为 .cfg 文件。“从文件加载”打开这样的文件，
   显示在页面上，核对后把不同的数值写入设备。每次连接第一次写入前，程序会自动备份设备参数（日志中显示文件）。

6. 恢复出厂设置
   “恢复出厂”会先自动备份并显示备份文件，确认后才恢复设备的出厂设置。之后请重新读取参数。

7. 其他命令
   “同步时间”把设备时钟设为本机时间。“版本”“信号”“SIM状态”“事件日志”向设备查询。
   “运行检测”页可以发送 AT+LIST 等原始命令。在“无线网络”页点击“当前网络”框可查询网络模式。

8. 退出登录
   点击“退出登录”：设备退出配置模式并按新设置开始工作。一段时间没有命令时设备也会自动退出
   配置模式。“关闭串口”结束连接。

语言：在标题栏选择 English 或 中文，程序会重新启动。
"""


def help_txt(lang):
    return HELP_EN if lang == "en" else HELP_ZH
