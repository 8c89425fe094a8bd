<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Clienttitle</name>
    <message>
        <source>Kestrix客户端</source>
        <translation>Kestrix Client</translation>
    </message>
</context>
<context>
    <name>EarlierRecords</name>
    <message>
        <source>本机的续考记录</source>
        <translation>This computer's resume records</translation>
    </message>
    <message>
        <source>文件太大</source>
        <translation>File too large</translation>
    </message>
</context>
<context>
    <name>ExamSession</name>
    <message>
        <source>是否真的要退出考试？</source>
        <translation>Do you really want to leave the exam?</translation>
    </message>
    <message>
        <source>考试时间到，成绩正在交给服务器，请稍候。</source>
        <translation>Time is up. Your result is being handed to the server, please wait.</translation>
    </message>
    <message>
        <source>目标文字还没有输完，不能退出考试！</source>
        <translation>You have not finished typing the target text and cannot leave the exam yet!</translation>
    </message>
    <message>
        <source>正在向服务器登记考生信息，请稍候……</source>
        <translation>Registering you with the server, please wait...</translation>
    </message>
    <message>
        <source>正在把考试记录送到服务器，送到后程序自动退出，请稍候……</source>
        <translation>Sending your exam record to the server; the program closes once it arrives, please wait...</translation>
    </message>
    <message>
        <source>考试记录未送到服务器，请报告监考老师！</source>
        <translation>Your exam record did not reach the server. Please tell the invigilator!</translation>
    </message>
    <message>
        <source>考试记录没有送到服务器，监考老师那里看不到你。请报告监考老师；按回车键开始考试时会再送一次。</source>
        <translation>Your exam record did not reach the server, so the invigilator cannot see you. Please tell the invigilator; it is sent again when you press Enter to start.</translation>
    </message>
    <message>
        <source>考试时间设置有误（应为%1至%2分钟），不能开始考试，请点击“结束考试”退出。</source>
        <translation>The exam time is set wrongly (it must be %1 to %2 minutes). The exam cannot start; click "End Exam" to leave.</translation>
    </message>
    <message>
        <source>“%1”无法保存，没有输入</source>
        <translation>"%1" cannot be saved and was not entered</translation>
    </message>
    <message>
        <source>成绩还没有送到服务器，本机也没能保存。是否不再等待，现在退出？
退出前请让监考老师记下屏幕上的成绩。
选“否”再送一次。</source>
        <translation>Your result has not reached the server and could not be saved on this computer either. Stop waiting and leave now?
Before leaving, ask the invigilator to note the result on the screen.
Choose "No" to send it again.</translation>
    </message>
    <message>
        <source>成绩还没有送到服务器。是否不再等待，现在退出？
退出后请把成绩文件“%1”交给监考老师。
选“否”再送一次。</source>
        <translation>Your result has not reached the server yet. Stop waiting and leave now?
After leaving, give the result file "%1" to the invigilator.
Choose "No" to send it again.</translation>
    </message>
    <message>
        <source>考试中请勿关闭本窗口</source>
        <translation>Keep this window open during the exam</translation>
    </message>
    <message>
        <source>时间到，成绩已保存</source>
        <translation>Time is up, result saved</translation>
    </message>
    <message>
        <source>时间到，成绩未送到！</source>
        <translation>Time is up, result not delivered!</translation>
    </message>
    <message>
        <source>时间到，正在交卷……</source>
        <translation>Time is up, handing in...</translation>
    </message>
    <message>
        <source>按下回车键继续考试，不会打的汉字请随便打一汉字代替......</source>
        <translation>Press Enter to continue; for a character you cannot type, type any other......</translation>
    </message>
    <message>
        <source>按下回车键开始计时考试，不会打的汉字请随便打一汉字代替......</source>
        <translation>Press Enter to start the timed exam; for a character you cannot type, type any other......</translation>
    </message>
</context>
<context>
    <name>FrmLogin</name>
    <message>
        <source>登录考试服务器</source>
        <translation>Log In to the Exam Server</translation>
    </message>
    <message>
        <source>登 录 码：</source>
        <translation>Login code:</translation>
    </message>
    <message>
        <source>服务器IP：</source>
        <translation>Server IP:</translation>
    </message>
    <message>
        <source>部    门:</source>
        <translation>Department:</translation>
    </message>
    <message>
        <source>考    号：</source>
        <translation>Exam no.:</translation>
    </message>
    <message>
        <source>姓    名：</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>登录</source>
        <translation>Log In</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
</context>
<context>
    <name>FrmMain</name>
    <message>
        <source>考试文件不存在</source>
        <translation>The exam file does not exist</translation>
    </message>
    <message>
        <source>部门</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>考号</source>
        <translation>Exam no.</translation>
    </message>
    <message>
        <source>姓名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>选择输入法：</source>
        <translation>Input method:</translation>
    </message>
    <message>
        <source>结束考试</source>
        <translation>End Exam</translation>
    </message>
    <message>
        <source>打字测试</source>
        <translation>Typing Test</translation>
    </message>
    <message>
        <source>系统设置</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>目标文字</source>
        <translation>Target text</translation>
    </message>
    <message>
        <source>剩余时间</source>
        <translation>Time left</translation>
    </message>
    <message>
        <source>Kestrix 打字考试系统</source>
        <translation>Kestrix Typing Exam System</translation>
    </message>
    <message>
        <source>访问网站 kestrix.example.org</source>
        <translation>Visit kestrix.example.org</translation>
    </message>
</context>
<context>
    <name>KeyTimeline</name>
    <message>
        <source>按键记录已损坏</source>
        <translation>The keystroke record is damaged</translation>
    </message>
    <message>
        <source>按键记录过大</source>
        <translation>The keystroke record is too large</translation>
    </message>
</context>
<context>
    <name>LoginSession</name>
    <message>
        <source>正在登录服务器......</source>
        <translation>Logging in to the server......</translation>
    </message>
    <message>
        <source>还未开始考试，请稍后再登录</source>
        <translation>The exam has not started yet, please log in later</translation>
    </message>
    <message>
        <source>本场考试需要登录码，请输入监考老师发给你的登录码</source>
        <translation>This exam needs a login code: enter the code your invigilator gave you</translation>
    </message>
    <message>
        <source>考试设置有误，无法开始考试，请报告监考老师</source>
        <translation>The exam settings are wrong and the exam cannot start; please tell the invigilator</translation>
    </message>
    <message>
        <source>无法连接服务器</source>
        <translation>Cannot connect to the server</translation>
    </message>
    <message>
        <source>服务器没有应答</source>
        <translation>The server does not answer</translation>
    </message>
    <message>
        <source>本机无法保存考试文件</source>
        <translation>This computer cannot save the exam files</translation>
    </message>
    <message>
        <source>服务器拒绝了请求</source>
        <translation>The server refused the request</translation>
    </message>
    <message>
        <source>登录服务器失败，请重新登录（%1）</source>
        <translation>Login failed, please log in again (%1)</translation>
    </message>
    <message>
        <source>请输入服务器IP</source>
        <translation>Please enter the server IP</translation>
    </message>
    <message>
        <source>请输入部门</source>
        <translation>Please enter your department</translation>
    </message>
    <message>
        <source>请输入考号</source>
        <translation>Please enter your exam number</translation>
    </message>
    <message>
        <source>请输入姓名</source>
        <translation>Please enter your name</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>PriorRecords</name>
    <message>
        <source>你已交卷，不能再次考试。如需重考，请联系监考老师。</source>
        <translation>You have handed in and cannot sit the exam again. To retake it, ask the invigilator.</translation>
    </message>
    <message>
        <source>检测到未完成的考试（已用时 %1 分 %2 秒，已打 %3 字），是否继续？
选“否”将重新开始一次考试，之前那次考试的记录仍会保留，并标明给监考老师。</source>
        <translation>An unfinished exam was found (%1 min %2 s used, %3 characters typed). Continue it?
Choose "No" to start the exam afresh; the earlier record is kept and shown to the invigilator.</translation>
    </message>
    <message>
        <source>（</source>
        <translation> (</translation>
    </message>
    <message>
        <source>）</source>
        <translation>)</translation>
    </message>
    <message>
        <source>不是本程序的考试记录</source>
        <translation>not an exam record of this program</translation>
    </message>
    <message>
        <source>签名不符</source>
        <translation>signature does not match</translation>
    </message>
    <message>
        <source>用时不在考试时间之内</source>
        <translation>time used is outside the exam time</translation>
    </message>
    <message>
        <source>已忽略无法使用的考试记录：</source>
        <translation>Exam records that cannot be used were ignored: </translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
</context>
<context>
    <name>ResultRecord</name>
    <message>
        <source>只有%1行，应为%2行</source>
        <translation>only %1 lines, %2 expected</translation>
    </message>
    <message>
        <source>数字行无法识别</source>
        <translation>the numbers line cannot be read</translation>
    </message>
    <message>
        <source>部门、考号或姓名行不完整</source>
        <translation>the department, exam number or name line is incomplete</translation>
    </message>
</context>
<context>
    <name>ResultUpload</name>
    <message>
        <source>考试结束，成绩已保存。</source>
        <translation>The exam is over; your result is saved.</translation>
    </message>
    <message>
        <source>考试结束，成绩未送到服务器！请报告监考老师后再试。</source>
        <translation>The exam is over, but the result did not reach the server! Please tell the invigilator and try again.</translation>
    </message>
    <message>
        <source>考试结束，成绩正在上传，请稍候。</source>
        <translation>The exam is over; your result is being uploaded, please wait.</translation>
    </message>
    <message>
        <source>打字速度：</source>
        <translation>Typing speed: </translation>
    </message>
    <message>
        <source>字／分钟，正确率：</source>
        <translation> chars/min, accuracy: </translation>
    </message>
    <message>
        <source>％</source>
        <translation>%</translation>
    </message>
    <message>
        <source>成绩文件“%1”读回的内容与写入的不同</source>
        <translation>The result file "%1" read back differs from what was written</translation>
    </message>
</context>
<context>
    <name>ServerAddress</name>
    <message>
        <source>服务器地址“%1”无法使用</source>
        <translation>The server address "%1" cannot be used</translation>
    </message>
</context>
<context>
    <name>diskspace</name>
    <message>
        <source>磁盘只读：%1</source>
        <translation>Disk is read-only: %1</translation>
    </message>
    <message>
        <source>磁盘已满：%1</source>
        <translation>Disk is full: %1</translation>
    </message>
    <message>
        <source>文件夹只读：%1</source>
        <translation>Folder is read-only: %1</translation>
    </message>
</context>
<context>
    <name>gbk</name>
    <message>
        <source>本机没有安装简体中文代码页 936（GBK），程序无法读写考试文件。请在控制面板的“区域”设置中添加简体中文支持。</source>
        <translation>This computer has no Simplified Chinese code page 936 (GBK), so the program cannot read or write exam files. Please add Simplified Chinese support in the Region settings of the Control Panel.</translation>
    </message>
    <message>
        <source>本机的 Qt 没有 GBK 转换器（需要带 ICU 的 Qt），程序无法读写考试文件。</source>
        <translation>This Qt has no GBK converter (Qt with ICU is needed), so the program cannot read or write exam files.</translation>
    </message>
</context>
<context>
    <name>logincode</name>
    <message>
        <source>登录码不对，请对照登录码纸条重新输入（共10个字母或数字，横线和空格可不输）</source>
        <translation>Wrong login code; please type it again from your login slip (10 letters or digits; dashes and spaces may be left out)</translation>
    </message>
</context>
<context>
    <name>scoring</name>
    <message>
        <source>打字速度：</source>
        <translation>Typing speed: </translation>
    </message>
    <message>
        <source>字／分钟</source>
        <translation> chars/min</translation>
    </message>
    <message>
        <source>正确率：</source>
        <translation>Accuracy: </translation>
    </message>
    <message>
        <source>％</source>
        <translation>%</translation>
    </message>
</context>
<context>
    <name>wholefile</name>
    <message>
        <source>无法写入 %1：%2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>无法写入 %1：磁盘空间不足或写入不完整</source>
        <translation>Cannot write %1: the disk is full or the write was incomplete</translation>
    </message>
    <message>
        <source>无法读取 %1：%2</source>
        <translation>Cannot read %1: %2</translation>
    </message>
    <message>
        <source>%1 太大（超过 %2 字节）</source>
        <translation>%1 is too large (over %2 bytes)</translation>
    </message>
</context>
</TS>