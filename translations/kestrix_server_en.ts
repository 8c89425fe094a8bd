<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AnswerCheck</name>
    <message>
        <source>速度%1，正确率%2％，打字数%3</source>
        <translation>speed %1, accuracy %2%, %3 characters typed</translation>
    </message>
    <message>
        <source>答卷缺失或已损坏</source>
        <translation>the answer sheet is missing or damaged</translation>
    </message>
    <message>
        <source>答卷不是按本场考试的内容和时间（%1分钟）答的</source>
        <translation>the answer sheet was not typed for this exam's text and time (%1 minutes)</translation>
    </message>
    <message>
        <source>成绩与答卷不符（成绩为%1，按答卷核算为%2，错字%3）</source>
        <translation>the result does not match the answer sheet (result %1, answer sheet gives %2, %3 wrong)</translation>
    </message>
</context>
<context>
    <name>AnswerSheetPage</name>
    <message>
        <source>%1分%2秒</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>换行</source>
        <translation>line break</translation>
    </message>
    <message>
        <source>应为%1，打成%2</source>
        <translation>expected %1, typed %2</translation>
    </message>
    <message>
        <source>第%1个字处</source>
        <translation>at character %1</translation>
    </message>
    <message>
        <source>第%1个字后</source>
        <translation>after character %1</translation>
    </message>
    <message>
        <source>开头</source>
        <translation>the beginning</translation>
    </message>
    <message>
        <source>多打了</source>
        <translation>typed an extra </translation>
    </message>
    <message>
        <source>漏打了</source>
        <translation>left out </translation>
    </message>
    <message>
        <source>，此后的字都错开了</source>
        <translation>; every character after it is shifted</translation>
    </message>
    <message>
        <source>一位</source>
        <translation>one place</translation>
    </message>
    <message>
        <source>%1位</source>
        <translation>%1 places</translation>
    </message>
    <message>
        <source>，后面还有%1处多打或漏打</source>
        <translation>; %1 more extra or missing characters follow</translation>
    </message>
    <message>
        <source>。
按对齐计算，速度约为%1字／分钟，正确率约为%2％（仅供参考，成绩仍按逐字比较）</source>
        <translation>.
Aligned, the speed is about %1 chars/min and the accuracy about %2% (for reference only; the result is still compared character by character)</translation>
    </message>
    <message>
        <source>这份成绩的文件已不在交换文件夹中，看不到答卷。</source>
        <translation>This result's file is no longer in the exchange folder; the answer sheet cannot be shown.</translation>
    </message>
    <message>
        <source>这份成绩没有答卷（考生端版本较旧，或答卷已损坏）。</source>
        <translation>This result has no answer sheet (an older client, or the answer sheet is damaged).</translation>
    </message>
    <message>
        <source>本机没有保存发布的考试内容，无法对照答卷。</source>
        <translation>This computer did not keep the published exam text; the answer sheet cannot be compared.</translation>
    </message>
    <message>
        <source>答卷不是按本场考试的内容和时间答的，无法对照。</source>
        <translation>The answer sheet was not typed for this exam's text and time; it cannot be compared.</translation>
    </message>
    <message>
        <source>这份成绩没有按键记录（考生端版本较旧），看不到速度曲线和回放。</source>
        <translation>This result has no keystroke record (an older client); no speed curve or replay.</translation>
    </message>
    <message>
        <source>按键记录无法读出（%1），看不到速度曲线和回放。</source>
        <translation>The keystroke record cannot be read (%1); no speed curve or replay.</translation>
    </message>
    <message>
        <source>这场考试的按键记录过长，只保存了每%1秒的字数：速度曲线不分对错，不能回放。</source>
        <translation>This exam's keystroke record was too long; only the characters per %1 seconds were kept: the speed curve does not tell right from wrong, and there is no replay.</translation>
    </message>
    <message>
        <source>按键记录中的改动前后接不上，看不到速度曲线和回放。</source>
        <translation>The changes in the keystroke record do not join up; no speed curve or replay.</translation>
    </message>
    <message>
        <source>按键记录重放出的文字与答卷不同，看不到速度曲线和回放。</source>
        <translation>The text replayed from the keystroke record differs from the answer sheet; no speed curve or replay.</translation>
    </message>
    <message>
        <source>答卷 — %1 %2 %3</source>
        <translation>Answer Sheet — %1 %2 %3</translation>
    </message>
    <message>
        <source>按答卷核算：速度%1字／分钟，正确率%2％，打字数%3，对%4字，错%5字，未打%6字</source>
        <translation>From the answer sheet: speed %1 chars/min, accuracy %2%, %3 typed, %4 right, %5 wrong, %6 not typed</translation>
    </message>
    <message>
        <source>成绩记录：速度%1字／分钟，正确率%2％</source>
        <translation>Result: speed %1 chars/min, accuracy %2%</translation>
    </message>
    <message>
        <source>用时%1</source>
        <translation>time used %1</translation>
    </message>
    <message>
        <source>（考试时间%1分钟）</source>
        <translation> (exam time %1 minutes)</translation>
    </message>
    <message>
        <source>考试会话：未记录</source>
        <translation>Exam session: not recorded</translation>
    </message>
    <message>
        <source>第%1次登录 · %2</source>
        <translation>login %1 · %2</translation>
    </message>
    <message>
        <source>续考%1次</source>
        <translation>resumed %1 times</translation>
    </message>
    <message>
        <source>未续考</source>
        <translation>not resumed</translation>
    </message>
</context>
<context>
    <name>ArchiveDatabase</name>
    <message>
        <source>拒绝了登录（密码不对，或口令文件中没有这个用户的密码）</source>
        <translation>refused the login (wrong password, or no password for this user in the password file)</translation>
    </message>
    <message>
        <source>不接受这台计算机的连接（服务器的 pg_hba.conf 中没有允许这台计算机、这个用户和数据库的一行，请管理员添加后重新加载）</source>
        <translation>does not accept connections from this computer (the server's pg_hba.conf has no line allowing this computer, user and database; ask the administrator to add one and reload)</translation>
    </message>
    <message>
        <source>要求加密连接，而这个版本的考试服务器不能加密（请从地址中去掉 sslmode，或改为 sslmode=prefer）</source>
        <translation>an encrypted connection is required, and this version of the exam server cannot encrypt (remove sslmode from the address, or set sslmode=prefer)</translation>
    </message>
    <message>
        <source>不支持加密连接（地址中的 sslmode 要求加密，请管理员在服务器上开启 SSL）</source>
        <translation>does not support encrypted connections (the address's sslmode requires encryption; ask the administrator to enable SSL on the server)</translation>
    </message>
    <message>
        <source>上没有这个数据库</source>
        <translation> has no such database</translation>
    </message>
    <message>
        <source>上没有这个用户</source>
        <translation> has no such user</translation>
    </message>
    <message>
        <source>无法连接（服务器没有开启、地址不对或网络不通）</source>
        <translation>cannot connect (the server is not running, the address is wrong or the network is down)</translation>
    </message>
    <message>
        <source>无法打开</source>
        <translation>cannot be opened</translation>
    </message>
    <message>
        <source>数据表正被别的程序锁住，请稍后再试</source>
        <translation>a table is locked by another program, please try again later</translation>
    </message>
    <message>
        <source>服务器太久没有回答，请稍后再试</source>
        <translation>the server took too long to answer, please try again later</translation>
    </message>
    <message>
        <source>与服务器的连接断开了（服务器重启、停止或网络中断），下次使用时重新连接</source>
        <translation>the connection to the server was lost (server restarted, stopped or network down); it reconnects on next use</translation>
    </message>
    <message>
        <source>不是考试存档（其中是别的数据表）</source>
        <translation>is not an exam archive (it holds other tables)</translation>
    </message>
    <message>
        <source>无法写入</source>
        <translation>cannot be written</translation>
    </message>
    <message>
        <source>无法读取登录的用户</source>
        <translation>cannot read the logged-in user</translation>
    </message>
    <message>
        <source>学校存档 %1 %2。</source>
        <translation>School archive %1 %2.</translation>
    </message>
    <message>
        <source>考试存档 %1 %2，本次不能存档考试（考试照常进行）。</source>
        <translation>Exam archive %1 %2; exams cannot be archived this time (the exam goes on as usual).</translation>
    </message>
    <message>
        <source>
详情：</source>
        <translation>
Details: </translation>
    </message>
    <message>
        <source>%1 %2：%3。</source>
        <translation>%1 %2: %3.</translation>
    </message>
    <message>
        <source>%1 %2：%3</source>
        <translation>%1 %2: %3</translation>
    </message>
    <message>
        <source>
考试存档正被其他程序使用，请关闭那个程序后再试。</source>
        <translation>
The exam archive is in use by another program; close that program and try again.</translation>
    </message>
    <message>
        <source>无法使用（%1）</source>
        <translation>cannot be used (%1)</translation>
    </message>
    <message>
        <source>正被其他程序使用</source>
        <translation>in use by another program</translation>
    </message>
    <message>
        <source>不是数据库文件</source>
        <translation>not a database file</translation>
    </message>
    <message>
        <source>已损坏（</source>
        <translation>damaged (</translation>
    </message>
    <message>
        <source>已损坏（完整性检查未通过）</source>
        <translation>damaged (integrity check failed)</translation>
    </message>
    <message>
        <source>无法读取存档版本（</source>
        <translation>cannot read the archive version (</translation>
    </message>
    <message>
        <source>这个账号无权读取存档版本</source>
        <translation>this account may not read the archive version</translation>
    </message>
    <message>
        <source>由较新版本的考试服务器建立（存档版本%1，本程序只能使用到版本%2）</source>
        <translation>made by a newer exam server (archive version %1; this program can use up to version %2)</translation>
    </message>
    <message>
        <source>存档版本%1，本程序需要版本%2</source>
        <translation>archive version %1; this program needs version %2</translation>
    </message>
    <message>
        <source>无法升级（</source>
        <translation>cannot upgrade (</translation>
    </message>
    <message>
        <source>无法升级到版本%1（%2）</source>
        <translation>cannot upgrade to version %1 (%2)</translation>
    </message>
    <message>
        <source>还没有建好考试存档的数据表，或这个账号不是 %1 的成员（%2）。请学校的信息技术管理员用数据库所有者的账号运行一次考试服务器的升级命令 %3（见说明书9.6）</source>
        <translation>the exam archive's tables are not set up yet, or this account is not a member of %1 (%2). Ask the school's IT administrator to run the exam server's upgrade command %3 once with the database owner's account (see manual 9.6)</translation>
    </message>
    <message>
        <source>学校存档在数据库服务器上，请由管理员用 pg_dump 备份。</source>
        <translation>The school archive is on a database server; please ask the administrator to back it up with pg_dump.</translation>
    </message>
    <message>
        <source>不能备份到 %1：这是控制台正在使用的数据库，请另选一个文件</source>
        <translation>Cannot back up to %1: this is the database the console is using; please choose another file</translation>
    </message>
    <message>
        <source>无法替换已有的文件</source>
        <translation>cannot replace the existing file</translation>
    </message>
    <message>
        <source>无法把副本改名为目标文件</source>
        <translation>cannot rename the copy to the target file</translation>
    </message>
    <message>
        <source>无法把考试存档备份到 %1：%2</source>
        <translation>Cannot back up the exam archive to %1: %2</translation>
    </message>
</context>
<context>
    <name>ArchivePlace</name>
    <message>
        <source>不是有效的数据库地址（应如 postgresql://用户@服务器:5432/数据库）</source>
        <translation>not a valid database address (it should look like postgresql://user@server:5432/database)</translation>
    </message>
</context>
<context>
    <name>Archivecolumns</name>
    <message>
        <source>无法读取考试存档</source>
        <translation>Cannot read the exam archive</translation>
    </message>
</context>
<context>
    <name>Attendance</name>
    <message>
        <source>实考 %1人</source>
        <translation>Present: %1</translation>
    </message>
    <message>
        <source>应考 %1人，实考 %2人，未开始 %3人，缺考 %4人</source>
        <translation>Expected %1, present %2, not started %3, absent %4</translation>
    </message>
</context>
<context>
    <name>Bounds</name>
    <message>
        <source>速度%1超过每分钟%2字，不是人能打出的</source>
        <translation>speed %1 is over %2 chars per minute, faster than a person can type</translation>
    </message>
    <message>
        <source>用时%1秒打了%2字，快于每分钟%3字</source>
        <translation>%2 characters typed in %1 seconds, faster than %3 per minute</translation>
    </message>
    <message>
        <source>打字数%1超过原文字数%2加%3</source>
        <translation>%1 characters typed, more than the text's %2 plus %3</translation>
    </message>
    <message>
        <source>进度行的打字数%1超过成绩的打字数%2</source>
        <translation>the progress line's %1 characters typed exceed the result's %2</translation>
    </message>
    <message>
        <source>续考次数%1小于0</source>
        <translation>resume count %1 is below 0</translation>
    </message>
</context>
<context>
    <name>ClassRoster</name>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>（空）</source>
        <translation>(empty)</translation>
    </message>
    <message>
        <source>名单中没有找到“考号”和“姓名”列。第一行是：%1</source>
        <translation>No "exam number" and "name" columns were found in the list. The first row is: %1</translation>
    </message>
    <message>
        <source>名单中的考生超过%1人</source>
        <translation>The list has more than %1 examinees</translation>
    </message>
    <message>
        <source>名单中“考号”和“姓名”列下没有考生</source>
        <translation>No examinees under the "exam number" and "name" columns of the list</translation>
    </message>
    <message>
        <source>名单中不同部门有相同的考号，考生按部门和考号对应，登录时须填写名单中的部门。</source>
        <translation>Different departments in the list share exam numbers: examinees are matched by department and exam number, and must enter the department as the list has it when they log in.</translation>
    </message>
    <message>
        <source>%1 是旧版Excel工作簿（.xls），请在Excel或WPS中另存为.xlsx或CSV后再载入</source>
        <translation>%1 is an old Excel workbook (.xls); save it as .xlsx or CSV in Excel or WPS and load it again</translation>
    </message>
    <message>
        <source>%1 有%2 MB，不像是一份考生名单</source>
        <translation>%1 is %2 MB, too large for a class list</translation>
    </message>
    <message>
        <source>%1 中没有找到考生名单（文本须是UTF-8、GBK或带标记的UTF-16）</source>
        <translation>No class list found in %1 (text must be UTF-8, GBK or UTF-16 with a byte order mark)</translation>
    </message>
</context>
<context>
    <name>ClassTableModel</name>
    <message>
        <source>，最近一分钟速度%1字/分钟</source>
        <translation>, speed in the last minute %1 chars/min</translation>
    </message>
    <message>
        <source>，存疑：
</source>
        <translation>, doubtful:
</translation>
    </message>
    <message>
        <source>     部    门</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>     考    号</source>
        <translation>Exam No.</translation>
    </message>
    <message>
        <source>   姓    名</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>打字速度（字/分钟）</source>
        <translation>Speed (chars/min)</translation>
    </message>
    <message>
        <source>正确率（％）</source>
        <translation>Accuracy (%)</translation>
    </message>
    <message>
        <source>打字时间（秒）</source>
        <translation>Typing Time (s)</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>进度</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>等级</source>
        <translation>Grade</translation>
    </message>
    <message>
        <source>得分</source>
        <translation>Score</translation>
    </message>
</context>
<context>
    <name>CommandBar</name>
    <message>
        <source>禁止登录</source>
        <translation>Close Login</translation>
    </message>
    <message>
        <source>禁止考生登录服务器，但不影响已开始考试的考生</source>
        <translation>Stop examinees from logging in; examinees already in the exam carry on</translation>
    </message>
    <message>
        <source>允许登录</source>
        <translation>Open Login</translation>
    </message>
    <message>
        <source>允许考生登录服务器以开始考试</source>
        <translation>Let examinees log in to the server to start the exam</translation>
    </message>
</context>
<context>
    <name>Console</name>
    <message>
        <source>开放登录</source>
        <translation>Open Login</translation>
    </message>
    <message>
        <source>禁止登录</source>
        <translation>Close Login</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>请先在考试设置中勾选“要求登录码”，并载入考生名单。</source>
        <translation>First tick "Require login codes" in the exam settings and load a class list.</translation>
    </message>
    <message>
        <source>无法保存登录码，没有生成登录码纸条：</source>
        <translation>Cannot save the login codes; no login slips were made: </translation>
    </message>
    <message>
        <source>%1在%2的考试超过%3场，无法汇总。</source>
        <translation>%1 sat more than %3 exams in %2; they cannot be summarised.</translation>
    </message>
</context>
<context>
    <name>ConsoleHooks</name>
    <message>
        <source>载入考生名单</source>
        <translation>Load Class List</translation>
    </message>
    <message>
        <source>选择交换文件夹</source>
        <translation>Choose the Exchange Folder</translation>
    </message>
    <message>
        <source>文本文件 *.txt</source>
        <translation>Text files *.txt</translation>
    </message>
    <message>
        <source>考生名单 (*.xlsx *.csv *.txt)</source>
        <translation>Class lists (*.xlsx *.csv *.txt)</translation>
    </message>
</context>
<context>
    <name>ConsoleMarker</name>
    <message>
        <source>另一个考试服务器程序（计算机“%1”，进程%2）于%3开放了登录，正在使用这个交换文件夹。
在这里%4会影响那边的考试。仍要%4吗？</source>
        <translation>Another exam server (computer "%1", process %2) opened login at %3 and is using this exchange folder.
To %4 here affects the exam there. %4 anyway?</translation>
    </message>
    <message>
        <source>M月d日 HH:mm</source>
        <translation>MMM d HH:mm</translation>
    </message>
</context>
<context>
    <name>ConsolePreferences</name>
    <message>
        <source>无法保存设置 %1</source>
        <translation>Cannot save the settings %1</translation>
    </message>
</context>
<context>
    <name>ConsoleSettings</name>
    <message>
        <source>考试时间“%1”无效，请填写%2到%3之间的分钟数。</source>
        <translation>Exam time "%1" is not valid; enter a number of minutes from %2 to %3.</translation>
    </message>
    <message>
        <source>没有保存设置：</source>
        <translation>Settings not saved: </translation>
    </message>
    <message>
        <source>没有保存设置，原有的考试内容不变：</source>
        <translation>Settings not saved; the exam text stays as it was: </translation>
    </message>
    <message>
        <source>没有保存考试时间，原有的考试时间不变：</source>
        <translation>Exam time not saved; it stays as it was: </translation>
    </message>
</context>
<context>
    <name>DataPlace</name>
    <message>
        <source>已从 %1 复制过来：%2（原文件仍留在原处）。</source>
        <translation>Copied from %1: %2 (the original file is left in place).</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1 中的 %2 与这里已有的不同：这里的保留使用，那边的一份复制到了 %3。</source>
        <translation>%2 in %1 differs from the one here: the one here stays in use; the other was copied to %3.</translation>
    </message>
    <message>
        <source>无法从 %1 复制：%2，请手动复制。</source>
        <translation>Cannot copy from %1: %2; please copy it by hand.</translation>
    </message>
    <message>
        <source>考试服务器的成绩和设置保存在：
%1

</source>
        <translation>The exam server keeps its results and settings in:
%1

</translation>
    </message>
</context>
<context>
    <name>ExamArchive</name>
    <message>
        <source>无法写入考试存档</source>
        <translation>Cannot write the exam archive</translation>
    </message>
    <message>
        <source>考试存档中没有这场考试。</source>
        <translation>The exam archive does not hold this exam.</translation>
    </message>
    <message>
        <source>数据库没有给出这场考试的编号</source>
        <translation>The database gave no number for this exam</translation>
    </message>
    <message>
        <source>没有改动任何一行</source>
        <translation>no row was changed</translation>
    </message>
    <message>
        <source>这场考试是机房“%1”保存的，只有那个机房能更改或删除它。</source>
        <translation>This exam was kept by lab "%1"; only that lab can change or delete it.</translation>
    </message>
    <message>
        <source>无法删除存档的考试</source>
        <translation>Cannot delete the kept exam</translation>
    </message>
</context>
<context>
    <name>ExamChartsPane</name>
    <message>
        <source>-速度分布.png</source>
        <translation>-speed distribution.png</translation>
    </message>
    <message>
        <source>-正确率与速度.png</source>
        <translation>-accuracy and speed.png</translation>
    </message>
    <message>
        <source>无法保存图表 %1</source>
        <translation>Cannot save the chart %1</translation>
    </message>
</context>
<context>
    <name>ExamCommands</name>
    <message>
        <source>
没有找到能打开它的表格程序。</source>
        <translation>
No spreadsheet program was found to open it.</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>%1位考生的登录码已保存为 %2，打印后沿虚线剪开，发给考生。</source>
        <translation>The login codes of %1 examinees are saved as %2. Print them, cut along the dashed lines and hand them out.</translation>
    </message>
    <message>
        <source>
没有找到能打开它的PDF阅读程序。</source>
        <translation>
No PDF reader was found to open it.</translation>
    </message>
</context>
<context>
    <name>ExamDetailPane</name>
    <message>
        <source>统计</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>图表</source>
        <translation>Charts</translation>
    </message>
    <message>
        <source>排名</source>
        <translation>Ranking</translation>
    </message>
    <message>
        <source>考生</source>
        <translation>Examinee</translation>
    </message>
    <message>
        <source>请先选择一位考生。</source>
        <translation>Please choose an examinee first.</translation>
    </message>
    <message>
        <source>%1 成绩变化.png</source>
        <translation>%1 progress.png</translation>
    </message>
    <message>
        <source>PNG 图片 (*.png)</source>
        <translation>PNG images (*.png)</translation>
    </message>
    <message>
        <source>图表已保存为
%1</source>
        <translation>Chart saved as
%1</translation>
    </message>
    <message>
        <source>考试图表.png</source>
        <translation>exam charts.png</translation>
    </message>
    <message>
        <source>图表已保存为
%1
%2</source>
        <translation>Charts saved as
%1
%2</translation>
    </message>
</context>
<context>
    <name>ExamFilterBar</name>
    <message>
        <source>按文章或日期查找，如 春晓 或 2026-03</source>
        <translation>Find by text or date, e.g. Spring or 2026-03</translation>
    </message>
    <message>
        <source>查找：</source>
        <translation>Find:</translation>
    </message>
    <message>
        <source>机房：</source>
        <translation>Lab:</translation>
    </message>
    <message>
        <source>教师：</source>
        <translation>Teacher:</translation>
    </message>
    <message>
        <source>班级：</source>
        <translation>Class:</translation>
    </message>
    <message>
        <source>学期：</source>
        <translation>Term:</translation>
    </message>
    <message>
        <source>第一学期为8月1日至1月31日，第二学期为2月1日至7月31日</source>
        <translation>The first term runs from August 1 to January 31, the second from February 1 to July 31</translation>
    </message>
    <message>
        <source>全部机房</source>
        <translation>All labs</translation>
    </message>
    <message>
        <source>全部教师</source>
        <translation>All teachers</translation>
    </message>
    <message>
        <source>全部班级</source>
        <translation>All classes</translation>
    </message>
    <message>
        <source>全部学期</source>
        <translation>All terms</translation>
    </message>
</context>
<context>
    <name>ExamListModel</name>
    <message>
        <source>本机房的考试</source>
        <translation>This lab's exams</translation>
    </message>
    <message>
        <source>当前考试</source>
        <translation>Current exam</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>文章</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>时间（分钟）</source>
        <translation>Time (min)</translation>
    </message>
    <message>
        <source>人数</source>
        <translation>Examinees</translation>
    </message>
    <message>
        <source>平均速度</source>
        <translation>Mean speed</translation>
    </message>
    <message>
        <source>及格率</source>
        <translation>Pass rate</translation>
    </message>
    <message>
        <source>机房</source>
        <translation>Lab</translation>
    </message>
    <message>
        <source>教师</source>
        <translation>Teacher</translation>
    </message>
</context>
<context>
    <name>ExamPublishing</name>
    <message>
        <source>无法删除原有的 %1：%2</source>
        <translation>Cannot delete the earlier %1: %2</translation>
    </message>
    <message>
        <source>考试内容 %1 无法读取</source>
        <translation>The exam text %1 cannot be read</translation>
    </message>
</context>
<context>
    <name>ExamStatistics</name>
    <message>
        <source>未评</source>
        <translation>Ungraded</translation>
    </message>
    <message>
        <source>全体</source>
        <translation>Everyone</translation>
    </message>
    <message>
        <source>%1 %2人（%3%）</source>
        <translation>%1 %2 (%3%)</translation>
    </message>
</context>
<context>
    <name>ExamineePane</name>
    <message>
        <source>输入考号或姓名的一部分，从列表中选择</source>
        <translation>Type part of an exam number or name and choose from the list</translation>
    </message>
    <message>
        <source>选择考生：</source>
        <translation>Choose examinee:</translation>
    </message>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>考号：</source>
        <translation>Exam no.:</translation>
    </message>
    <message>
        <source>姓名：</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>%1 %2（%3）</source>
        <translation>%1 %2 (%3)</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>文章</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>速度（字/分钟）</source>
        <translation>Speed (chars/min)</translation>
    </message>
    <message>
        <source>正确率（%）</source>
        <translation>Accuracy (%)</translation>
    </message>
    <message>
        <source>等级</source>
        <translation>Grade</translation>
    </message>
    <message>
        <source>考试存档中没有考号为“%1”、姓名为“%2”的考生。</source>
        <translation>The exam archive holds no examinee with exam number "%1" and name "%2".</translation>
    </message>
    <message>
        <source>无法保存图表 %1</source>
        <translation>Cannot save the chart %1</translation>
    </message>
</context>
<context>
    <name>Exchangefolder</name>
    <message>
        <source>交换文件夹 %1 不存在</source>
        <translation>The exchange folder %1 does not exist</translation>
    </message>
    <message>
        <source>（这台计算机没有 %1 盘）</source>
        <translation> (this computer has no %1 drive)</translation>
    </message>
    <message>
        <source>Ftp服务器尚未设置好,请将Ftp服务器的主目录设置为</source>
        <translation>The FTP server is not set up yet. Set the FTP server's home folder to </translation>
    </message>
    <message>
        <source>。要用另一个文件夹，请在“考试设置”中按“更改文件夹”选择它，再把Ftp服务器的主目录设置为那个文件夹。</source>
        <translation>. To use another folder, choose it with "Change Folder" in "Exam Settings", then set the FTP server's home folder to that folder.</translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>%1 是一个文件夹，里面还有文件，程序不会删除它。请移走其中的文件或删除这个文件夹后再试。</source>
        <translation>%1 is a folder that still holds files; the program does not delete it. Move its files away or delete the folder, then try again.</translation>
    </message>
    <message>
        <source>交换文件夹就是本程序的文件夹，为保护程序和设置文件，没有删除任何文件：</source>
        <translation>The exchange folder is this program's own folder; to protect the program and its settings, no file was deleted: </translation>
    </message>
    <message>
        <source>以下文件无法删除，请关闭占用它们的程序后再清空一次：
</source>
        <translation>These files could not be deleted; close the programs using them and clear again:
</translation>
    </message>
</context>
<context>
    <name>ExportWriter</name>
    <message>
        <source>无法建立导出文件夹 %1</source>
        <translation>Cannot create the export folder %1</translation>
    </message>
</context>
<context>
    <name>FrmAbout</name>
    <message>
        <source>关于Kestrix</source>
        <translation>About Kestrix</translation>
    </message>
    <message>
        <source>名称：Kestrix</source>
        <translation>Name: Kestrix</translation>
    </message>
    <message>
        <source>版本：</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>作者：Kestrix开发组</source>
        <translation>Authors: the Kestrix developers</translation>
    </message>
    <message>
        <source>联系电话：请通过电子邮件联系</source>
        <translation>Phone: please contact us by e-mail</translation>
    </message>
    <message>
        <source>电子邮件：support@kestrix.example.org</source>
        <translation>E-mail: support@kestrix.example.org</translation>
    </message>
    <message>
        <source>网    站：https://kestrix.example.org</source>
        <translation>Website: https://kestrix.example.org</translation>
    </message>
    <message>
        <source>许可证：GPL-3.0-or-later（GNU通用公共许可证第3版或更新版本）。本软件是自由软件，不提供任何担保。&lt;br&gt;全文：&lt;a href="%1"&gt;%2&lt;/a&gt;</source>
        <translation>Licence: GPL-3.0-or-later (GNU General Public License, version 3 or later). This is free software and comes with no warranty.&lt;br&gt;Full text: &lt;a href="%1"&gt;%2&lt;/a&gt;</translation>
    </message>
</context>
<context>
    <name>FrmAnswerSheet</name>
    <message>
        <source>　　</source>
        <translation>  </translation>
    </message>
    <message>
        <source>存疑：</source>
        <translation>Doubtful: </translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>蓝色：打对　红色：打错（右上角小字为打成的字）　灰色带下划线：未打</source>
        <translation>Blue: right   Red: wrong (the small character at the top right is what was typed)   Grey, underlined: not typed</translation>
    </message>
    <message>
        <source>答卷</source>
        <translation>Answer Sheet</translation>
    </message>
    <message>
        <source>速度曲线</source>
        <translation>Speed Curve</translation>
    </message>
    <message>
        <source>回放</source>
        <translation>Replay</translation>
    </message>
    <message>
        <source>
【多打】</source>
        <translation>
[extra]</translation>
    </message>
</context>
<context>
    <name>FrmGradeExam</name>
    <message>
        <source>年级汇总 — 《%1》</source>
        <translation>Grade Summary — "%1"</translation>
    </message>
    <message>
        <source>各班与各机房</source>
        <translation>Classes and Labs</translation>
    </message>
    <message>
        <source>年级排名</source>
        <translation>Grade Ranking</translation>
    </message>
    <message>
        <source>PDF报告</source>
        <translation>PDF Report</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>年级报告已保存为 %1</source>
        <translation>Grade report saved as %1</translation>
    </message>
</context>
<context>
    <name>FrmHistory</name>
    <message>
        <source>历次考试</source>
        <translation>Exam History</translation>
    </message>
    <message>
        <source>备份存档</source>
        <translation>Back Up Archive</translation>
    </message>
    <message>
        <source>学期报告</source>
        <translation>Term Report</translation>
    </message>
    <message>
        <source>把列表中的考试（可先按日期、文章、班级或学期筛选）汇总成一个Excel工作簿；选了班级时只含这个班的考生</source>
        <translation>Summarise the listed exams (filter by date, text, class or term first) in one Excel workbook; with a class chosen, only that class's examinees</translation>
    </message>
    <message>
        <source>年级学期报告</source>
        <translation>Grade Term Report</translation>
    </message>
    <message>
        <source>选一个学期和几个班（可跨机房、跨教师），生成一个Excel工作簿：每班一个工作表，另有年级汇总和图表</source>
        <translation>Choose a term and some classes (across labs and teachers) for one Excel workbook: a sheet per class, with a grade summary and charts</translation>
    </message>
    <message>
        <source>保存图表</source>
        <translation>Save Charts</translation>
    </message>
    <message>
        <source>导出到Excel表格</source>
        <translation>Export to Excel</translation>
    </message>
    <message>
        <source>PDF报告</source>
        <translation>PDF Report</translation>
    </message>
    <message>
        <source>年级汇总</source>
        <translation>Grade Summary</translation>
    </message>
    <message>
        <source>按现在的评分标准重新评分</source>
        <translation>Regrade with the current grading scale</translation>
    </message>
    <message>
        <source>删除这场考试</source>
        <translation>Delete this exam</translation>
    </message>
    <message>
        <source>用现在的评分标准重新评定%1吗？</source>
        <translation>Regrade %1 with the current grading scale?</translation>
    </message>
    <message>
        <source>
新的评定只在这个窗口中显示，不会保存。</source>
        <translation>
The new grades are only shown in this window, not saved.</translation>
    </message>
    <message>
        <source>确定要从考试存档中删除%1吗？删除后无法恢复。</source>
        <translation>Really delete %1 from the exam archive? It cannot be undone.</translation>
    </message>
    <message>
        <source>考试存档备份-%1.db</source>
        <translation>exam archive backup-%1.db</translation>
    </message>
    <message>
        <source>考试存档 (*.db)</source>
        <translation>Exam archives (*.db)</translation>
    </message>
    <message>
        <source>考试存档已备份到 %1</source>
        <translation>Exam archive backed up to %1</translation>
    </message>
    <message>
        <source>PDF 文件 (*.pdf)</source>
        <translation>PDF files (*.pdf)</translation>
    </message>
    <message>
        <source>请先在列表中选一场存档的考试。</source>
        <translation>Please choose a kept exam in the list first.</translation>
    </message>
    <message>
        <source>同一个上午（或下午）没有别的考试用同一篇文章、同样的考试时间，这场考试不是年级统考。</source>
        <translation>No other exam in the same morning (or afternoon) used the same text and exam time; this exam is not a grade-wide exam.</translation>
    </message>
    <message>
        <source>列表中没有存档的考试。</source>
        <translation>The list holds no kept exams.</translation>
    </message>
    <message>
        <source>Excel 工作簿 (*.xlsx)</source>
        <translation>Excel workbooks (*.xlsx)</translation>
    </message>
</context>
<context>
    <name>GradeRankingModel</name>
    <message>
        <source>机房</source>
        <translation>Lab</translation>
    </message>
</context>
<context>
    <name>GradeWideExam</name>
    <message>
        <source>文章《%1》　%2 %3　考试时间 %4分钟　%5个机房　%6个班　%7</source>
        <translation>Text "%1"   %2 %3   exam time %4 minutes   %5 labs   %6 classes   %7</translation>
    </message>
    <message>
        <source>上午</source>
        <translation>AM</translation>
    </message>
    <message>
        <source>下午</source>
        <translation>PM</translation>
    </message>
</context>
<context>
    <name>GradingScale</name>
    <message>
        <source>第%1行</source>
        <translation>Row %1</translation>
    </message>
    <message>
        <source>优秀</source>
        <translation>Excellent</translation>
    </message>
    <message>
        <source>良好</source>
        <translation>Good</translation>
    </message>
    <message>
        <source>及格</source>
        <translation>Pass</translation>
    </message>
    <message>
        <source>不及格</source>
        <translation>Fail</translation>
    </message>
    <message>
        <source>评分标准至少要有一个等级。</source>
        <translation>The grading scale needs at least one grade.</translation>
    </message>
    <message>
        <source>评分标准最多%1个等级。</source>
        <translation>The grading scale has at most %1 grades.</translation>
    </message>
    <message>
        <source>：等级名称不能为空。</source>
        <translation>: the grade name cannot be empty.</translation>
    </message>
    <message>
        <source>：等级“%1”重复。</source>
        <translation>: grade "%1" appears twice.</translation>
    </message>
    <message>
        <source>：速度、正确率和得分不能是负数。</source>
        <translation>: speed, accuracy and score cannot be negative.</translation>
    </message>
    <message>
        <source>：最低正确率不能超过100%。</source>
        <translation>: the lowest accuracy cannot be over 100%.</translation>
    </message>
    <message>
        <source>：数值太大。</source>
        <translation>: the number is too large.</translation>
    </message>
    <message>
        <source>：等级“%1”的要求高于它上面的等级“%2”，请按从高到低排列。</source>
        <translation>: grade "%1" asks for more than grade "%2" above it; please order them from highest to lowest.</translation>
    </message>
    <message>
        <source>：等级“%1”与上面的等级“%2”要求相同，永远评不到。</source>
        <translation>: grade "%1" asks the same as grade "%2" above it and can never be reached.</translation>
    </message>
    <message>
        <source>：等级“%1”的得分高于上面的等级“%2”。</source>
        <translation>: grade "%1" scores more than grade "%2" above it.</translation>
    </message>
    <message>
        <source>最低速度</source>
        <translation>lowest speed</translation>
    </message>
    <message>
        <source>最低正确率</source>
        <translation>lowest accuracy</translation>
    </message>
    <message>
        <source>得分</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>：%1“%2”不是数字。</source>
        <translation>: %1 "%2" is not a number.</translation>
    </message>
    <message>
        <source>设置文件 %1 中的评分标准有误：%2</source>
        <translation>The grading scale in the settings file %1 is wrong: %2</translation>
    </message>
</context>
<context>
    <name>GradingScaleDialog</name>
    <message>
        <source>评分标准</source>
        <translation>Grading Scale</translation>
    </message>
    <message>
        <source>从上到下由高到低；成绩达到某一等级的最低速度和最低正确率，就评为第一个达到的等级。最后一个等级为不及格。</source>
        <translation>From highest to lowest: a result gets the first grade whose lowest speed and lowest accuracy it reaches. The last grade is the failing one.</translation>
    </message>
    <message>
        <source>等级</source>
        <translation>Grade</translation>
    </message>
    <message>
        <source>最低速度（字/分钟）</source>
        <translation>Lowest speed (chars/min)</translation>
    </message>
    <message>
        <source>最低正确率（%）</source>
        <translation>Lowest accuracy (%)</translation>
    </message>
    <message>
        <source>得分</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>添加等级</source>
        <translation>Add Grade</translation>
    </message>
    <message>
        <source>删除等级</source>
        <translation>Remove Grade</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>Restore Defaults</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>HelpMenu</name>
    <message>
        <source>使用说明</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>打开日志文件夹</source>
        <translation>Open Log Folder</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>没有找到能打开使用说明的程序。使用说明在：
%1</source>
        <translation>No program was found to open the manual. It is at:
%1</translation>
    </message>
    <message>
        <source>没有找到能打开文件夹的程序。日志在：
%1</source>
        <translation>No program was found to open the folder. The log is in:
%1</translation>
    </message>
    <message>
        <source>界面语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>跟随系统</source>
        <translation>As the System</translation>
    </message>
    <message>
        <source>界面语言将在下次启动考试服务器时更改。</source>
        <translation>The language changes at the next start of the exam server.</translation>
    </message>
</context>
<context>
    <name>HistoryController</name>
    <message>
        <source>这场考试没有成绩，没有导出。</source>
        <translation>This exam has no results; nothing was exported.</translation>
    </message>
</context>
<context>
    <name>HistoryExamList</name>
    <message>
        <source>学校存档现在无法打开，列出的是本机的考试：</source>
        <translation>The school archive cannot be opened now; this computer's exams are listed: </translation>
    </message>
    <message>
        <source>只列出最近的%1场考试，请用上面的条件缩小范围。</source>
        <translation>Only the latest %1 exams are listed; narrow the list with the filters above.</translation>
    </message>
</context>
<context>
    <name>JudgingStandard</name>
    <message>
        <source>汉字未经输入法输入</source>
        <translation>Chinese typed without an input method</translation>
    </message>
    <message>
        <source>按键节奏不像人工输入</source>
        <translation>Keystroke rhythm not like a person's</translation>
    </message>
    <message>
        <source>大段文字无按键输入</source>
        <translation>Large text without keystrokes</translation>
    </message>
    <message>
        <source>输入法粘贴</source>
        <translation>Pasted by the input method</translation>
    </message>
    <message>
        <source>按键记录与成绩不符</source>
        <translation>Keystrokes do not match the result</translation>
    </message>
    <message>
        <source>速度上限</source>
        <translation>Speed limit</translation>
    </message>
    <message>
        <source>达到字数</source>
        <translation>from characters</translation>
    </message>
    <message>
        <source>过匀：停顿之间按键间隔共计</source>
        <translation>Too even: key intervals between pauses, in all</translation>
    </message>
    <message>
        <source>过匀：间隔离散度低于</source>
        <translation>Too even: interval spread below</translation>
    </message>
    <message>
        <source>过快：连续按键间隔数</source>
        <translation>Too fast: consecutive key intervals</translation>
    </message>
    <message>
        <source>过快：平均间隔低于（毫秒）</source>
        <translation>Too fast: mean interval below (ms)</translation>
    </message>
    <message>
        <source>停顿长于此不计（毫秒）</source>
        <translation>Pauses longer than this are left out (ms)</translation>
    </message>
    <message>
        <source>一次出现至少（字）</source>
        <translation>Appearing at once, at least (chars)</translation>
    </message>
    <message>
        <source>每字按键少于</source>
        <translation>Keys per character below</translation>
    </message>
    <message>
        <source>超过所打文字的比例</source>
        <translation>Share of the typed text over</translation>
    </message>
    <message>
        <source>且至少（字）</source>
        <translation>And at least (chars)</translation>
    </message>
    <message>
        <source>按键记录可超出用时（秒）</source>
        <translation>Keystrokes may run past the time used by (s)</translation>
    </message>
    <message>
        <source>每分钟最多字数</source>
        <translation>Most characters per minute</translation>
    </message>
    <message>
        <source>%1的“%2”应为%3到%4之间的%5。</source>
        <translation>"%2" of %1 must be %5 from %3 to %4.</translation>
    </message>
    <message>
        <source>整数</source>
        <translation>a whole number</translation>
    </message>
    <message>
        <source>数</source>
        <translation>a number</translation>
    </message>
    <message>
        <source>设置文件 %1 中的判定标准有误：%2</source>
        <translation>The judging standard in the settings file %1 is wrong: %2</translation>
    </message>
</context>
<context>
    <name>JudgingStandardDialog</name>
    <message>
        <source>判定标准</source>
        <translation>Judging Standard</translation>
    </message>
    <message>
        <source>成绩达到下列标准时标为存疑（原因在这一行的提示中），由老师判断。保存后，下次获取成绩时按新的标准判断。</source>
        <translation>A result meeting these marks is doubtful (the reason is in its row's tooltip) for the teacher to judge. Once saved, the next collection judges by the new standard.</translation>
    </message>
    <message>
        <source>恢复默认</source>
        <translation>Restore Defaults</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
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
    <name>LiveClass</name>
    <message>
        <source>续考于%1</source>
        <translation>resumed at %1</translation>
    </message>
    <message>
        <source>成绩文件已被删除</source>
        <translation>The result file has been deleted</translation>
    </message>
    <message>
        <source>考号%1不在名单中</source>
        <translation>Exam number %1 is not on the list</translation>
    </message>
    <message>
        <source>考号%1在名单中是%2</source>
        <translation>Exam number %1 is %2 on the list</translation>
    </message>
</context>
<context>
    <name>LoginGate</name>
    <message>
        <source>无法删除 %1：%2</source>
        <translation>Cannot delete %1: %2</translation>
    </message>
    <message>
        <source>尚未设置考试内容</source>
        <translation>No exam text set yet</translation>
    </message>
    <message>
        <source>尚未设置考试时间</source>
        <translation>No exam time set yet</translation>
    </message>
    <message>
        <source>开放登录失败，但考生仍可登录：无法删除原有的 %1。
</source>
        <translation>Opening login failed, but examinees can still log in: cannot delete the earlier %1.
</translation>
    </message>
    <message>
        <source>开放登录失败，考生仍不能登录。
</source>
        <translation>Opening login failed; examinees still cannot log in.
</translation>
    </message>
    <message>
        <source>考生仍可登录。</source>
        <translation>Examinees can still log in.</translation>
    </message>
    <message>
        <source>不知道上次发布的考试。</source>
        <translation>The last published exam is unknown.</translation>
    </message>
    <message>
        <source>考试内容已更改，无法重新发布原来的考试。</source>
        <translation>The exam text has changed; the earlier exam cannot be published again.</translation>
    </message>
    <message>
        <source>考试文件已从交换文件夹 %1 中消失或被改动，重新发布失败，考生已不能登录（已禁止登录）。
</source>
        <translation>The exam files have vanished from or been changed in the exchange folder %1; publishing again failed and examinees can no longer log in (login closed).
</translation>
    </message>
    <message>
        <source>（无法读取考试内容）</source>
        <translation>(the exam text cannot be read)</translation>
    </message>
    <message>
        <source>%1分钟</source>
        <translation>%1 minutes</translation>
    </message>
    <message>
        <source>（无法读取）</source>
        <translation>(cannot be read)</translation>
    </message>
    <message>
        <source>上次运行时开放的考试仍在发布中，考生现在仍可登录：
考试内容：%1
考试时间：%2
要收回这场考试（禁止登录）吗？</source>
        <translation>The exam opened at the last run is still published, and examinees can still log in:
Exam text: %1
Exam time: %2
Withdraw this exam (close login)?</translation>
    </message>
</context>
<context>
    <name>MachineTyping</name>
    <message>
        <source>按键节奏不像人工输入</source>
        <translation>Keystroke rhythm not like a person's</translation>
    </message>
    <message>
        <source>按键记录与成绩不符</source>
        <translation>Keystrokes do not match the result</translation>
    </message>
</context>
<context>
    <name>Main</name>
    <message>
        <source>用法：%1 %2 postgresql://所有者@服务器:5432/数据库</source>
        <translation>Usage: %1 %2 postgresql://owner@server:5432/database</translation>
    </message>
    <message>
        <source>
本次使用交换文件夹：</source>
        <translation>
Exchange folder used this time: </translation>
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
    <name>OldSettingFiles</name>
    <message>
        <source>%1 有%2字节，不是交换文件夹的名称（应只有一行）</source>
        <translation>%1 has %2 bytes and is not the name of an exchange folder (it should hold one line)</translation>
    </message>
    <message>
        <source>%1 既不是UTF-8也不是GBK文本，读不出交换文件夹的名称</source>
        <translation>%1 is neither UTF-8 nor GBK text; the exchange folder's name cannot be read</translation>
    </message>
    <message>
        <source>%1 中的交换文件夹名称含有控制字符</source>
        <translation>the exchange folder's name in %1 holds control characters</translation>
    </message>
</context>
<context>
    <name>PageWriter</name>
    <message>
        <source>第 %1 页 / 共 %2 页</source>
        <translation>Page %1 of %2</translation>
    </message>
    <message>
        <source>第 %1 页</source>
        <translation>Page %1</translation>
    </message>
</context>
<context>
    <name>Plausibility</name>
    <message>
        <source>已重考，原成绩无法读出</source>
        <translation>retaken; the earlier result cannot be read</translation>
    </message>
    <message>
        <source>重考前的成绩：速度%1字/分钟，正确率%2％，用时%3秒</source>
        <translation>result before the retake: speed %1 chars/min, accuracy %2%, time used %3 s</translation>
    </message>
    <message>
        <source>速度%1不是有效的数</source>
        <translation>speed %1 is not a valid number</translation>
    </message>
    <message>
        <source>速度%1超过打字数%2和用时%3秒所能达到的%4</source>
        <translation>speed %1 is more than %2 characters in %3 seconds can give (%4)</translation>
    </message>
    <message>
        <source>正确率%1不在0到100之间</source>
        <translation>accuracy %1 is not between 0 and 100</translation>
    </message>
    <message>
        <source>用时%1秒不在0到%2秒之间</source>
        <translation>time used %1 s is not between 0 and %2 s</translation>
    </message>
    <message>
        <source>（按发布时的考试时间%1分钟判断）</source>
        <translation> (judged by the exam time at publishing, %1 minutes)</translation>
    </message>
    <message>
        <source>原文字数%1与发布的考试内容%2不同</source>
        <translation>the text's %1 characters differ from the published exam's %2</translation>
    </message>
</context>
<context>
    <name>PlausibilityCheck</name>
    <message>
        <source>签名尚未核对完</source>
        <translation>signature not yet checked</translation>
    </message>
    <message>
        <source>签名不符：可能是伪造的成绩</source>
        <translation>signature does not match: the result may be forged</translation>
    </message>
    <message>
        <source>文件名%1与部门、考号、姓名不符</source>
        <translation>file name %1 does not match the department, exam number and name</translation>
    </message>
    <message>
        <source>同一考生有%1次登录考试的成绩文件</source>
        <translation>the same examinee has result files of %1 logins</translation>
    </message>
    <message>
        <source>交卷后成绩又被改动</source>
        <translation>the result changed after it was handed in</translation>
    </message>
    <message>
        <source>交卷后又登录考试%1次，监考老师没有允许重考，成绩仍为交卷时的成绩</source>
        <translation>logged in again %1 times after handing in without a retake allowed by the invigilator; the result stays as handed in</translation>
    </message>
</context>
<context>
    <name>PublicationCheck</name>
    <message>
        <source>交换文件夹中有%1份以前发布的考试的成绩，不属于这次考试，没有计入。清空上次会删除它们。</source>
        <translation>The exchange folder holds %1 results of earlier published exams; they do not belong to this exam and were not counted. Clearing the last exam deletes them.</translation>
    </message>
    <message>
        <source>考生登录时，交换文件夹中的%1是被人改写过的（已于%2改回），这份成绩不一定是这场考试的，请核实</source>
        <translation>When the examinee logged in, %1 in the exchange folder had been rewritten by someone (put back at %2); this result may not belong to this exam, please check</translation>
    </message>
</context>
<context>
    <name>PublishedFiles</name>
    <message>
        <source>%1 读回的内容与写入的不同，磁盘可能已满或有故障</source>
        <translation>%1 read back differs from what was written; the disk may be full or faulty</translation>
    </message>
</context>
<context>
    <name>RankingModel</name>
    <message>
        <source>名次</source>
        <translation>Place</translation>
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
        <source>速度（字/分钟）</source>
        <translation>Speed (chars/min)</translation>
    </message>
    <message>
        <source>正确率（%）</source>
        <translation>Accuracy (%)</translation>
    </message>
    <message>
        <source>用时（秒）</source>
        <translation>Time (s)</translation>
    </message>
    <message>
        <source>等级</source>
        <translation>Grade</translation>
    </message>
    <message>
        <source>得分</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>存疑</source>
        <translation>Doubtful</translation>
    </message>
</context>
<context>
    <name>RankingPane</name>
    <message>
        <source>双击一行查看这位考生的历次成绩</source>
        <translation>Double-click a row to see this examinee's past results</translation>
    </message>
</context>
<context>
    <name>RecordTimeline</name>
    <message>
        <source>按键记录有%1字节，超过上限%2字节</source>
        <translation>the keystroke record has %1 bytes, over the limit of %2 bytes</translation>
    </message>
</context>
<context>
    <name>Recordtexts</name>
    <message>
        <source>旧版格式的成绩记录：没有考试过程、答卷和按键记录，这次考试的考生端不会写出这样的记录</source>
        <translation>old-format result record: no exam session, answer sheet or keystroke record; this exam's client does not write such records</translation>
    </message>
    <message>
        <source>缺少答卷</source>
        <translation>answer sheet missing</translation>
    </message>
    <message>
        <source>缺少按键记录</source>
        <translation>keystroke record missing</translation>
    </message>
    <message>
        <source>缺少考试发布标识</source>
        <translation>exam publication id missing</translation>
    </message>
</context>
<context>
    <name>ReplayView</name>
    <message>
        <source>%1分%2秒</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>播放</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
</context>
<context>
    <name>ReportProgress</name>
    <message>
        <source>正在生成学期报告……</source>
        <translation>Making the term report...</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ResultClearing</name>
    <message>
        <source>
交换文件夹中的文件没有删除。</source>
        <translation>
The files in the exchange folder were not deleted.</translation>
    </message>
    <message>
        <source>清空前，成绩表中的%1条成绩先存入考试存档 %2，然后清空成绩表，并删除交换文件夹 %3 中的%4个文件。确定要清空吗？</source>
        <translation>Before clearing, the %1 results in the results sheet are kept in the exam archive %2; then the results sheet is cleared and the %4 files in the exchange folder %3 are deleted. Really clear?</translation>
    </message>
    <message>
        <source>清空将删除成绩表中的%1条成绩和交换文件夹 %2 中的%3个文件，删除后无法恢复。
请先做好备份（导出成绩，复制 cj.mdb）。确定要清空吗？</source>
        <translation>Clearing deletes the %1 results in the results sheet and the %3 files in the exchange folder %2; this cannot be undone.
Back up first (export the results, copy cj.mdb). Really clear?</translation>
    </message>
    <message>
        <source>
考试存档不可用，这次考试不会存档。</source>
        <translation>
The exam archive is unavailable; this exam will not be kept.</translation>
    </message>
    <message>
        <source>
没有清空成绩表和交换文件夹。</source>
        <translation>
The results sheet and the exchange folder were not cleared.</translation>
    </message>
    <message>
        <source>成绩表没有清空。</source>
        <translation>The results sheet was not cleared.</translation>
    </message>
    <message>
        <source>清空上次</source>
        <translation>Clear Last Exam</translation>
    </message>
</context>
<context>
    <name>ResultCollector</name>
    <message>
        <source>文件名无法识别</source>
        <translation>file name not recognised</translation>
    </message>
    <message>
        <source>交换文件夹中的%1不是监考老师为这场考试允许重考时留下的，已删除。</source>
        <translation>%1 in the exchange folder was not left by the invigilator allowing a retake for this exam; it was deleted.</translation>
    </message>
    <message>
        <source>成绩已获取，但无法写入副本 %1（不影响成绩）：%2</source>
        <translation>Results collected, but the copy %1 cannot be written (the results are unaffected): %2</translation>
    </message>
    <message>
        <source>有%1个成绩文件无法读取，没有计入成绩：</source>
        <translation>%1 result files cannot be read and were not counted:</translation>
    </message>
    <message>
        <source>（</source>
        <translation> (</translation>
    </message>
    <message>
        <source>）</source>
        <translation>)</translation>
    </message>
</context>
<context>
    <name>ResultCore</name>
    <message>
        <source>未登录</source>
        <translation>Not in</translation>
    </message>
    <message>
        <source>未开始</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>答题中</source>
        <translation>Typing</translation>
    </message>
    <message>
        <source>已交卷</source>
        <translation>Handed in</translation>
    </message>
    <message>
        <source>中断</source>
        <translation>Interrupted</translation>
    </message>
    <message>
        <source>缺考</source>
        <translation>Absent</translation>
    </message>
    <message>
        <source>存疑</source>
        <translation>Doubtful</translation>
    </message>
</context>
<context>
    <name>ResultExporter</name>
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
        <source>打字速度（字/分钟）</source>
        <translation>Speed (chars/min)</translation>
    </message>
    <message>
        <source>正确率（%）</source>
        <translation>Accuracy (%)</translation>
    </message>
    <message>
        <source>打字时间（秒）</source>
        <translation>Typing Time (s)</translation>
    </message>
    <message>
        <source>错字数</source>
        <translation>Wrong chars</translation>
    </message>
    <message>
        <source>等级</source>
        <translation>Grade</translation>
    </message>
    <message>
        <source>得分</source>
        <translation>Score</translation>
    </message>
    <message>
        <source>状态</source>
        <translation>State</translation>
    </message>
    <message>
        <source>名次</source>
        <translation>Place</translation>
    </message>
    <message>
        <source>存疑</source>
        <translation>Doubtful</translation>
    </message>
    <message>
        <source>　</source>
        <translation> </translation>
    </message>
    <message>
        <source>存疑说明</source>
        <translation>Doubts</translation>
    </message>
    <message>
        <source>成绩表已保存为 %1</source>
        <translation>Results sheet saved as %1</translation>
    </message>
    <message>
        <source>成绩表</source>
        <translation>Results sheet</translation>
    </message>
    <message>
        <source>打字考试成绩表</source>
        <translation>Typing Exam Results</translation>
    </message>
    <message>
        <source>成绩</source>
        <translation>Results</translation>
    </message>
    <message>
        <source>无法建立工作表“%1”</source>
        <translation>Cannot create the worksheet "%1"</translation>
    </message>
</context>
<context>
    <name>ResultFileFolder</name>
    <message>
        <source>无法列出 %1</source>
        <translation>cannot list %1</translation>
    </message>
    <message>
        <source>无法打开：%1</source>
        <translation>cannot open: %1</translation>
    </message>
    <message>
        <source>是链接，不是成绩文件</source>
        <translation>is a link, not a result file</translation>
    </message>
    <message>
        <source>是文件夹</source>
        <translation>is a folder</translation>
    </message>
    <message>
        <source>不是普通文件</source>
        <translation>is not a regular file</translation>
    </message>
    <message>
        <source>无法列出 %1：%2</source>
        <translation>cannot list %1: %2</translation>
    </message>
    <message>
        <source>无法读取：%1</source>
        <translation>cannot read: %1</translation>
    </message>
</context>
<context>
    <name>ResultFileReader</name>
    <message>
        <source>部门、考号或姓名超过%1个字符</source>
        <translation>department, exam number or name longer than %1 characters</translation>
    </message>
    <message>
        <source>部门、考号或姓名含有控制字符</source>
        <translation>department, exam number or name holds control characters</translation>
    </message>
    <message>
        <source>文件不完整，可能正在上传</source>
        <translation>file incomplete, perhaps still uploading</translation>
    </message>
    <message>
        <source>有一行超过%1字节</source>
        <translation>a line longer than %1 bytes</translation>
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
    <name>ResultStore</name>
    <message>
        <source>无法打开成绩数据库</source>
        <translation>Cannot open the results database</translation>
    </message>
    <message>
        <source>无法建立成绩表</source>
        <translation>Cannot create the results table</translation>
    </message>
    <message>
        <source>%1 %2：%3</source>
        <translation>%1 %2: %3</translation>
    </message>
    <message>
        <source>
成绩数据库正被其他程序使用，请关闭那个程序后再试。</source>
        <translation>
The results database is in use by another program; close that program and try again.</translation>
    </message>
    <message>
        <source>无法读取成绩表</source>
        <translation>Cannot read the results table</translation>
    </message>
    <message>
        <source>无法写入成绩表</source>
        <translation>Cannot write the results table</translation>
    </message>
</context>
<context>
    <name>Resultfiles</name>
    <message>
        <source>文件太大（%1 字节），不是成绩文件</source>
        <translation>file too large (%1 bytes), not a result file</translation>
    </message>
    <message>
        <source>无法读取：%1</source>
        <translation>cannot read: %1</translation>
    </message>
</context>
<context>
    <name>ResultsView</name>
    <message>
        <source>查看答卷</source>
        <translation>View Answer Sheet</translation>
    </message>
    <message>
        <source>重考</source>
        <translation>Retake</translation>
    </message>
    <message>
        <source>已登录人数：</source>
        <translation>Logged in:</translation>
    </message>
    <message>
        <source>人</source>
        <translation> </translation>
    </message>
    <message>
        <source>成绩导出到Excel表格</source>
        <translation>Export to Excel</translation>
    </message>
    <message>
        <source>把成绩表导出为Excel工作簿（.xlsx），保存在文档中的“成绩导出”文件夹并打开</source>
        <translation>Export the results as an Excel workbook (.xlsx), saved in the "成绩导出" folder of your documents, and open it</translation>
    </message>
    <message>
        <source>· 答题中 %1 · 已交卷 %2</source>
        <translation>· typing %1 · handed in %2</translation>
    </message>
    <message>
        <source> · 未开始 %1 · 未登录 %2</source>
        <translation> · not started %1 · not logged in %2</translation>
    </message>
    <message>
        <source>· 自动获取成绩失败</source>
        <translation>· automatic collection failed</translation>
    </message>
</context>
<context>
    <name>Retake</name>
    <message>
        <source>%1没有登录码，无法允许重考。</source>
        <translation>%1 has no login code; a retake cannot be allowed.</translation>
    </message>
    <message>
        <source>%1还没有交卷，不需要重考。</source>
        <translation>%1 has not handed in yet; no retake is needed.</translation>
    </message>
    <message>
        <source>允许%1重考吗？
交卷时的成绩将被搁置（导出时写在“存疑”一栏），该考生可以再登录考试一次。</source>
        <translation>Allow %1 a retake?
The handed-in result is set aside (exported under "Doubtful"), and the examinee may log in to the exam once more.</translation>
    </message>
    <message>
        <source>已允许重考，但这些成绩文件无法移出交换文件夹：%1</source>
        <translation>Retake allowed, but these result files cannot be moved out of the exchange folder: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>RowMarkTable</name>
    <message>
        <source>无法读写成绩标记表：%1</source>
        <translation>Cannot read or write the row marks table: %1</translation>
    </message>
</context>
<context>
    <name>SchoolArchiveDialog</name>
    <message>
        <source>考试存档的位置</source>
        <translation>Where Exams Are Kept</translation>
    </message>
    <message>
        <source>本机（考试存档 cjda.db）</source>
        <translation>This computer (exam archive cjda.db)</translation>
    </message>
    <message>
        <source>学校数据库（PostgreSQL）</source>
        <translation>School database (PostgreSQL)</translation>
    </message>
    <message>
        <source>postgresql://用户@服务器:5432/数据库</source>
        <translation>postgresql://user@server:5432/database</translation>
    </message>
    <message>
        <source>由环境变量 KESTRIX_ARCHIVE 指定</source>
        <translation>Set by the KESTRIX_ARCHIVE environment variable</translation>
    </message>
    <message>
        <source>写入口令文件</source>
        <translation>Write Password File</translation>
    </message>
    <message>
        <source>测试连接</source>
        <translation>Test Connection</translation>
    </message>
    <message>
        <source>立即上传</source>
        <translation>Upload Now</translation>
    </message>
    <message>
        <source>把尚未上传的考试现在上传到学校存档</source>
        <translation>Upload the exams not yet uploaded to the school archive now</translation>
    </message>
    <message>
        <source>上传本机已有的存档</source>
        <translation>Upload This Computer's Archive</translation>
    </message>
    <message>
        <source>数据库地址：</source>
        <translation>Database address:</translation>
    </message>
    <message>
        <source>口令：</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>机房：</source>
        <translation>Lab:</translation>
    </message>
    <message>
        <source>教师：</source>
        <translation>Teacher:</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>口令不保存在考试服务器中，而是写入 PostgreSQL 自己的口令文件（只有本用户可读）。</source>
        <translation>The password is not kept by the exam server but written to PostgreSQL's own password file (readable by this user only).</translation>
    </message>
    <message>
        <source>正在连接……</source>
        <translation>Connecting...</translation>
    </message>
    <message>
        <source>口令已写入口令文件。</source>
        <translation>The password was written to the password file.</translation>
    </message>
    <message>
        <source>正在上传……</source>
        <translation>Uploading...</translation>
    </message>
    <message>
        <source>已上传%1场考试。</source>
        <translation>%1 exams uploaded.</translation>
    </message>
</context>
<context>
    <name>SchoolOutbox</name>
    <message>
        <source>%1 场考试尚未上传到学校存档</source>
        <translation>%1 exams not yet uploaded to the school archive</translation>
    </message>
</context>
<context>
    <name>SchoolSettings</name>
    <message>
        <source>学校存档的地址应如 postgresql://用户@服务器:5432/数据库。</source>
        <translation>The school archive's address should look like postgresql://user@server:5432/database.</translation>
    </message>
    <message>
        <source>机房或教师的名字中有无法保存的字符。</source>
        <translation>The lab or teacher name holds characters that cannot be saved.</translation>
    </message>
    <message>
        <source>
地址暂时保持原样。</source>
        <translation>
The address stays as it is for now.</translation>
    </message>
    <message>
        <source>口令已写入口令文件，但无法从地址中去掉它：</source>
        <translation>The password was written to the password file, but cannot be removed from the address: </translation>
    </message>
    <message>
        <source>口令已移到只有本账号能读的口令文件 %1，地址中不再有口令。</source>
        <translation>The password was moved to the password file %1, which only this account can read; the address no longer holds it.</translation>
    </message>
    <message>
        <source>数据库地址中不能写口令（地址保存在 %1 中，谁都能读到）。请从地址中去掉口令，填在“口令”一栏并按“写入口令文件”。</source>
        <translation>The database address must not hold a password (the address is kept in %1, which anyone can read). Remove the password from the address, type it under "Password" and press "Write Password File".</translation>
    </message>
    <message>
        <source>%1 中保存的学校存档地址含有口令，谁都能读到。</source>
        <translation>The school archive address kept in %1 holds a password that anyone can read.</translation>
    </message>
</context>
<context>
    <name>SchoolTerm</name>
    <message>
        <source>%1-%2学年%3</source>
        <translation>%1-%2 school year, %3</translation>
    </message>
    <message>
        <source>第二学期</source>
        <translation>second term</translation>
    </message>
    <message>
        <source>第一学期</source>
        <translation>first term</translation>
    </message>
</context>
<context>
    <name>SessionRules</name>
    <message>
        <source>续考从用时%1秒开始，早于此前记录的%2秒</source>
        <translation>the resumed session starts at %1 s used, earlier than the %2 s recorded before</translation>
    </message>
    <message>
        <source>用时从%1秒退回到%2秒</source>
        <translation>time used went back from %1 s to %2 s</translation>
    </message>
    <message>
        <source>记录序号从%1跳到%2（%3秒内）</source>
        <translation>the record number jumped from %1 to %2 (within %3 s)</translation>
    </message>
    <message>
        <source>考生端计时偏快：记录陆续到达的%1秒里计了%2秒</source>
        <translation>the client's clock runs fast: %2 s counted in the %1 s the records took to arrive</translation>
    </message>
    <message>
        <source>没有考试过程记录</source>
        <translation>no exam session record</translation>
    </message>
    <message>
        <source>开始早于考试发布</source>
        <translation>started before the exam was published</translation>
    </message>
    <message>
        <source>：用时%1秒，考试发布%2秒后已收到</source>
        <translation>: %1 s used, received %2 s after the exam was published</translation>
    </message>
    <message>
        <source>缺少按键记录</source>
        <translation>keystroke record missing</translation>
    </message>
    <message>
        <source>按键记录与此前收到的不连续</source>
        <translation>the keystroke record does not follow on from the one received before</translation>
    </message>
</context>
<context>
    <name>SessionTable</name>
    <message>
        <source>无法读写考试会话表：%1</source>
        <translation>Cannot read or write the exam sessions table: %1</translation>
    </message>
</context>
<context>
    <name>SettingsPanel</name>
    <message>
        <source>保存设置</source>
        <translation>Save Settings</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>考试时间设置</source>
        <translation>Exam Time</translation>
    </message>
    <message>
        <source>考试时间（分钟）：</source>
        <translation>Exam time (minutes):</translation>
    </message>
    <message>
        <source>交换文件夹：</source>
        <translation>Exchange folder:</translation>
    </message>
    <message>
        <source>更改文件夹</source>
        <translation>Change Folder</translation>
    </message>
    <message>
        <source>考试内容设置</source>
        <translation>Exam Text</translation>
    </message>
    <message>
        <source>考试内容</source>
        <translation>Exam text</translation>
    </message>
    <message>
        <source>更改内容</source>
        <translation>Change Text</translation>
    </message>
    <message>
        <source>文字总数：</source>
        <translation>Characters:</translation>
    </message>
    <message>
        <source>评分标准</source>
        <translation>Grading Scale</translation>
    </message>
    <message>
        <source>判定标准</source>
        <translation>Judging Standard</translation>
    </message>
    <message>
        <source>考试存档位置</source>
        <translation>Where Exams Are Kept</translation>
    </message>
    <message>
        <source>要求登录码</source>
        <translation>Require login codes</translation>
    </message>
    <message>
        <source>允许登录时为名单中的每位考生生成登录码（打印后发给考生），考生登录时须填写，成绩带签名，同学无法冒名交卷。
只对载入了名单的考试起作用；没有名单时考生照常登录。</source>
        <translation>When login opens, make a login code for every examinee on the class list (print and hand them out); examinees must enter it to log in, and results are signed so no one can hand in under a classmate's name.
Only for exams with a loaded class list; without one, examinees log in as usual.</translation>
    </message>
    <message>
        <source>数据文件夹：</source>
        <translation>Data folder:</translation>
    </message>
    <message>
        <source>打开文件夹</source>
        <translation>Open Folder</translation>
    </message>
    <message>
        <source>（重新启动后生效）</source>
        <translation>(takes effect after a restart)</translation>
    </message>
    <message>
        <source>正在使用：%1
重新启动考试服务器后使用：%2</source>
        <translation>In use: %1
After restarting the exam server: %2</translation>
    </message>
    <message>
        <source>设置：%1
成绩（%2）：%3</source>
        <translation>Settings: %1
Results (%2): %3</translation>
    </message>
    <message>
        <source>没有找到能打开文件夹的程序。数据文件夹在：
%1</source>
        <translation>No program was found to open the folder. The data folder is:
%1</translation>
    </message>
</context>
<context>
    <name>SheetWriter</name>
    <message>
        <source>第%1行 %2：%3</source>
        <translation>Row %1 %2: %3</translation>
    </message>
</context>
<context>
    <name>SlipCodes</name>
    <message>
        <source>这场考试没有登录码。</source>
        <translation>This exam has no login codes.</translation>
    </message>
</context>
<context>
    <name>SpeedCurveView</name>
    <message>
        <source>停顿（%1秒以上）</source>
        <translation>Pause (over %1 s)</translation>
    </message>
    <message>
        <source>速度（打对的字/分钟）</source>
        <translation>Speed (right chars/min)</translation>
    </message>
    <message>
        <source>字/分钟</source>
        <translation>chars/min</translation>
    </message>
    <message>
        <source>全程</source>
        <translation>Whole Exam</translation>
    </message>
    <message>
        <source>有错字的时段（共错%1字）</source>
        <translation>Stretches with errors (%1 wrong in all)</translation>
    </message>
    <message>
        <source>每30秒一点。在图上横向拖动可放大一段（10分钟以内每5秒一点）。</source>
        <translation>A point every 30 seconds. Drag across the chart to zoom into a stretch (a point every 5 seconds within 10 minutes).</translation>
    </message>
    <message>
        <source>每5秒一点。按“全程”看整场考试。</source>
        <translation>A point every 5 seconds. Press "Whole Exam" to see the whole exam.</translation>
    </message>
</context>
<context>
    <name>Statisticspage</name>
    <message>
        <source>&lt;table border=1 cellspacing=0 cellpadding=4&gt;&lt;tr&gt;&lt;th&gt;部门&lt;/th&gt;&lt;th&gt;&lt;/th&gt;&lt;th&gt;人数&lt;/th&gt;&lt;th&gt;平均&lt;/th&gt;&lt;th&gt;中位数&lt;/th&gt;&lt;th&gt;最高&lt;/th&gt;&lt;th&gt;最低&lt;/th&gt;&lt;th&gt;标准差&lt;/th&gt;&lt;th&gt;等级分布&lt;/th&gt;&lt;th&gt;及格率&lt;/th&gt;&lt;/tr&gt;</source>
        <translation>&lt;table border=1 cellspacing=0 cellpadding=4&gt;&lt;tr&gt;&lt;th&gt;Department&lt;/th&gt;&lt;th&gt;&lt;/th&gt;&lt;th&gt;Examinees&lt;/th&gt;&lt;th&gt;Mean&lt;/th&gt;&lt;th&gt;Median&lt;/th&gt;&lt;th&gt;Highest&lt;/th&gt;&lt;th&gt;Lowest&lt;/th&gt;&lt;th&gt;Std. dev.&lt;/th&gt;&lt;th&gt;Grades&lt;/th&gt;&lt;th&gt;Pass rate&lt;/th&gt;&lt;/tr&gt;</translation>
    </message>
    <message>
        <source>&lt;tr&gt;&lt;td rowspan=2&gt;%1&lt;/td&gt;&lt;td&gt;速度&lt;/td&gt;%2&lt;td rowspan=2&gt;%3&lt;/td&gt;&lt;td rowspan=2 align=right&gt;%4%&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;正确率&lt;/td&gt;%5&lt;/tr&gt;</source>
        <translation>&lt;tr&gt;&lt;td rowspan=2&gt;%1&lt;/td&gt;&lt;td&gt;Speed&lt;/td&gt;%2&lt;td rowspan=2&gt;%3&lt;/td&gt;&lt;td rowspan=2 align=right&gt;%4%&lt;/td&gt;&lt;/tr&gt;&lt;tr&gt;&lt;td&gt;Accuracy&lt;/td&gt;%5&lt;/tr&gt;</translation>
    </message>
    <message>
        <source>&lt;table border=1 cellspacing=0 cellpadding=4&gt;&lt;tr&gt;&lt;th&gt;部门&lt;/th&gt;&lt;th&gt;应考&lt;/th&gt;&lt;th&gt;实考&lt;/th&gt;&lt;th&gt;未开始&lt;/th&gt;&lt;th&gt;缺考&lt;/th&gt;&lt;/tr&gt;</source>
        <translation>&lt;table border=1 cellspacing=0 cellpadding=4&gt;&lt;tr&gt;&lt;th&gt;Department&lt;/th&gt;&lt;th&gt;Expected&lt;/th&gt;&lt;th&gt;Present&lt;/th&gt;&lt;th&gt;Not started&lt;/th&gt;&lt;th&gt;Absent&lt;/th&gt;&lt;/tr&gt;</translation>
    </message>
    <message>
        <source>%1：速度≥%2，正确率≥%3%，%4分</source>
        <translation>%1: speed ≥ %2, accuracy ≥ %3%, %4 points</translation>
    </message>
    <message>
        <source>&lt;p&gt;评分标准：%1&lt;/p&gt;</source>
        <translation>&lt;p&gt;Grading scale: %1&lt;/p&gt;</translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>当前考试《%1》</source>
        <translation>Current exam "%1"</translation>
    </message>
    <message>
        <source>%1 的考试《%2》（%3人）</source>
        <translation>%1's exam "%2" (%3 examinees)</translation>
    </message>
    <message>
        <source>&lt;p&gt;%1&lt;/p&gt;&lt;h3&gt;全年级与各班&lt;/h3&gt;</source>
        <translation>&lt;p&gt;%1&lt;/p&gt;&lt;h3&gt;Whole grade and classes&lt;/h3&gt;</translation>
    </message>
    <message>
        <source>全年级</source>
        <translation>Whole grade</translation>
    </message>
    <message>
        <source>&lt;h3&gt;各机房&lt;/h3&gt;</source>
        <translation>&lt;h3&gt;Labs&lt;/h3&gt;</translation>
    </message>
</context>
<context>
    <name>TermWorkbookDialog</name>
    <message>
        <source>年级学期报告</source>
        <translation>Grade Term Report</translation>
    </message>
    <message>
        <source>班级来自学校存档：所有机房、所有教师的考试。</source>
        <translation>Classes from the school archive: the exams of every lab and teacher.</translation>
    </message>
    <message>
        <source>班级来自本机存档。</source>
        <translation>Classes from this computer's archive.</translation>
    </message>
    <message>
        <source>学期</source>
        <translation>Term</translation>
    </message>
    <message>
        <source>班级（每班一个工作表，另有年级汇总）</source>
        <translation>Classes (a sheet each, with a grade summary)</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>全不选</source>
        <translation>Select None</translation>
    </message>
    <message>
        <source>生成</source>
        <translation>Make</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>正在读取这个学期考过的班级……</source>
        <translation>Reading the classes that sat exams this term...</translation>
    </message>
    <message>
        <source>这个学期没有班级考过试。</source>
        <translation>No class sat an exam this term.</translation>
    </message>
</context>
<context>
    <name>Termreport</name>
    <message>
        <source>　</source>
        <translation> </translation>
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
        <source>部门</source>
        <translation>Department</translation>
    </message>
    <message>
        <source>
等级</source>
        <translation>
Grade</translation>
    </message>
    <message>
        <source>
速度</source>
        <translation>
Speed</translation>
    </message>
    <message>
        <source>最好速度</source>
        <translation>Best speed</translation>
    </message>
    <message>
        <source>平均速度</source>
        <translation>Mean speed</translation>
    </message>
    <message>
        <source>趋势（字/分钟每次）</source>
        <translation>Trend (chars/min per exam)</translation>
    </message>
    <message>
        <source>等级分布</source>
        <translation>Grades</translation>
    </message>
</context>
<context>
    <name>Timeline</name>
    <message>
        <source>考生端计时偏慢：记录陆续到达的%1秒里只计了%2秒</source>
        <translation>the client's clock runs slow: only %2 s counted in the %1 s the records took to arrive</translation>
    </message>
</context>
<context>
    <name>TypingCurve</name>
    <message>
        <source>考试时间（分:秒）</source>
        <translation>Exam time (min:s)</translation>
    </message>
    <message>
        <source>考试时间（分钟）</source>
        <translation>Exam time (minutes)</translation>
    </message>
</context>
<context>
    <name>WorkbookCells</name>
    <message>
        <source>%1 第%2行：%3</source>
        <translation>%1 row %2: %3</translation>
    </message>
</context>
<context>
    <name>WorkbookWriter</name>
    <message>
        <source>无法建立%1 %2</source>
        <translation>Cannot create %1 %2</translation>
    </message>
    <message>
        <source>无法写出%1 %2</source>
        <translation>Cannot write %1 %2</translation>
    </message>
    <message>
        <source>无法写出%1 %2：%3</source>
        <translation>Cannot write %1 %2: %3</translation>
    </message>
    <message>
        <source>无法建立单元格格式</source>
        <translation>Cannot create the cell formats</translation>
    </message>
    <message>
        <source>无法写入单元格（%1）</source>
        <translation>Cannot write the cell (%1)</translation>
    </message>
    <message>
        <source>无法写入单元格 %1（%2）</source>
        <translation>Cannot write the cell %1 (%2)</translation>
    </message>
</context>
<context>
    <name>Xlsx</name>
    <message>
        <source>%1 不是可以读取的Excel工作簿（.xlsx）</source>
        <translation>%1 is not an Excel workbook (.xlsx) that can be read</translation>
    </message>
    <message>
        <source>%1 中的%2展开后超过%3 MB，不像是一份考生名单</source>
        <translation>%2 in %1 unpacks to more than %3 MB; it does not look like a class list</translation>
    </message>
</context>
<context>
    <name>boundstatement</name>
    <message>
        <source>无法准备查询</source>
        <translation>cannot prepare the query</translation>
    </message>
</context>
<context>
    <name>celltext</name>
    <message>
        <source>控制字符已替换为“�”</source>
        <translation>control characters replaced with "�"</translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>%1个字符截短为%2个</source>
        <translation>%1 characters cut to %2</translation>
    </message>
    <message>
        <source>
有%1个单元格与%2中的内容不同：</source>
        <translation>
%1 cells differ from the contents of %2:</translation>
    </message>
</context>
<context>
    <name>console::ClassController</name>
    <message>
        <source>上一份名单还在载入，请稍候再载入。</source>
        <translation>The previous class list is still loading; please load again shortly.</translation>
    </message>
    <message>
        <source>上次载入的名单无法读出：%1</source>
        <translation>The class list loaded last time cannot be read: %1</translation>
    </message>
    <message>
        <source>名单已载入，但无法保存，下次启动时需要重新载入：%1</source>
        <translation>The class list is loaded but cannot be saved; it must be loaded again at the next start: %1</translation>
    </message>
</context>
<context>
    <name>console::ConsoleController</name>
    <message>
        <source>交换文件夹中还有%1份上次考试的成绩。先清空吗？</source>
        <translation>The exchange folder still holds %1 results of the last exam. Clear them first?</translation>
    </message>
    <message>
        <source>考试文件 %1 曾被删除或改动，已于%2重新发布</source>
        <translation>The exam file %1 was deleted or changed; published again at %2</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>允许登录</source>
        <translation>Open Login</translation>
    </message>
    <message>
        <source>禁止登录</source>
        <translation>Close Login</translation>
    </message>
    <message>
        <source>成绩表中没有成绩，没有导出。</source>
        <translation>The results sheet holds no results; nothing was exported.</translation>
    </message>
    <message>
        <source>（考试进行中，%1人正在答题）</source>
        <translation> (exam under way, %1 examinees typing)</translation>
    </message>
</context>
<context>
    <name>console::ExamSettingsController</name>
    <message>
        <source>
现在使用默认的评分标准。</source>
        <translation>
The default grading scale is used now.</translation>
    </message>
    <message>
        <source>
现在使用默认的判定标准。</source>
        <translation>
The default judging standard is used now.</translation>
    </message>
    <message>
        <source>考试正在进行（已允许登录），请先禁止登录，再更改交换文件夹。</source>
        <translation>The exam is under way (login is open); close login before changing the exchange folder.</translation>
    </message>
    <message>
        <source>交换文件夹已设为 %1，重新启动考试服务器后生效。请把Ftp服务器的主目录也设置为这个文件夹。</source>
        <translation>The exchange folder is set to %1 from the next start of the exam server. Set the FTP server's home folder to this folder too.</translation>
    </message>
    <message>
        <source>
注意：环境变量 KESTRIX_EXCHANGE_DIR 已设置，它优先于这里的选择。</source>
        <translation>
Note: the environment variable KESTRIX_EXCHANGE_DIR is set and takes precedence over this choice.</translation>
    </message>
    <message>
        <source>交换文件夹不能是考试服务器自己的文件夹，也不能包含它（每位考生都能写入交换文件夹），请选择另一个文件夹：</source>
        <translation>The exchange folder cannot be the exam server's own folder or hold it (every examinee can write into the exchange folder); choose another folder: </translation>
    </message>
</context>
<context>
    <name>console::FrmMain</name>
    <message>
        <source>Kestrix服务器</source>
        <translation>Kestrix Server</translation>
    </message>
    <message>
        <source>清空上次</source>
        <translation>Clear Last Exam</translation>
    </message>
    <message>
        <source>清空上一场考试的记录，包括考试成绩，请先做好备份！</source>
        <translation>Clear the last exam's records, results included; back them up first!</translation>
    </message>
    <message>
        <source>考试设置</source>
        <translation>Exam Settings</translation>
    </message>
    <message>
        <source>设置考试时间、内容等</source>
        <translation>Set the exam time, text and more</translation>
    </message>
    <message>
        <source>获取成绩</source>
        <translation>Collect Results</translation>
    </message>
    <message>
        <source>获取考试成绩或者获取登陆信息</source>
        <translation>Collect the exam results or the login information</translation>
    </message>
    <message>
        <source>载入名单</source>
        <translation>Load List</translation>
    </message>
    <message>
        <source>载入考生名单（Excel、CSV或文本文件，列为部门、考号、姓名），显示未登录的考生和名单外的成绩</source>
        <translation>Load a class list (Excel, CSV or text file with the columns department, exam number, name) to show examinees not logged in and results not on the list</translation>
    </message>
    <message>
        <source>登录码</source>
        <translation>Login Codes</translation>
    </message>
    <message>
        <source>把这场考试每位考生的登录码保存为PDF（每页10张），打印后剪开发给考生；考试设置中勾选“要求登录码”并载入名单后即可生成，允许登录前也能打印</source>
        <translation>Save every examinee's login code for this exam as a PDF (10 to a page) to print and cut out for the examinees; available once "Require login codes" is ticked in the exam settings and a class list is loaded, also before login opens</translation>
    </message>
    <message>
        <source>历次考试</source>
        <translation>Exam History</translation>
    </message>
    <message>
        <source>历次考试的成绩、统计和图表，考生的成绩变化，备份考试存档</source>
        <translation>Past exams' results, statistics and charts, each examinee's progress, backing up the exam archive</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>软件安装、使用说明</source>
        <translation>Installation and User Manual</translation>
    </message>
    <message>
        <source>正在载入名单……</source>
        <translation>Loading the class list...</translation>
    </message>
    <message>
        <source>打字考试服务器</source>
        <translation>Typing Exam Server</translation>
    </message>
</context>
<context>
    <name>console::SchoolController</name>
    <message>
        <source>学校存档的地址应如 postgresql://用户@服务器:5432/数据库。</source>
        <translation>The school archive's address should look like postgresql://user@server:5432/database.</translation>
    </message>
    <message>
        <source>连接成功：学校存档 %1 可以使用。</source>
        <translation>Connected: the school archive %1 can be used.</translation>
    </message>
    <message>
        <source>没有设置学校存档。</source>
        <translation>No school archive is set.</translation>
    </message>
    <message>
        <source>（</source>
        <translation> (</translation>
    </message>
    <message>
        <source>）</source>
        <translation>)</translation>
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
    <name>documentname</name>
    <message>
        <source>《%1》</source>
        <translation>"%1"</translation>
    </message>
    <message>
        <source>%1分钟</source>
        <translation>%1 minutes</translation>
    </message>
    <message>
        <source>%1个班</source>
        <translation>%1 classes</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>　</source>
        <translation> </translation>
    </message>
</context>
<context>
    <name>doubtnotes</name>
    <message>
        <source>注%1　%2 %3：%4</source>
        <translation>Note %1   %2 %3: %4</translation>
    </message>
</context>
<context>
    <name>examarticle</name>
    <message>
        <source>无法识别文章的编码：它既不是GBK编码，也不是UTF-8编码。</source>
        <translation>The text's encoding cannot be recognised: it is neither GBK nor UTF-8.</translation>
    </message>
    <message>
        <source>文章是空的，请选择有内容的文章。</source>
        <translation>The text is empty; please choose a text with content.</translation>
    </message>
    <message>
        <source>文章有%1个字符，超过了%2个字符，请选择较短的文章。</source>
        <translation>The text has %1 characters, more than %2; please choose a shorter text.</translation>
    </message>
    <message>
        <source>文章中有%1种字符无法保存为考试内容（GBK编码）：%2%3，请删除或替换后再选择。</source>
        <translation>The text holds %1 kinds of characters that cannot be saved as exam text (GBK): %2%3. Please delete or replace them and choose it again.</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
    <message>
        <source>等</source>
        <translation> and more</translation>
    </message>
</context>
<context>
    <name>examcharts</name>
    <message>
        <source>正确率（%）</source>
        <translation>Accuracy (%)</translation>
    </message>
    <message>
        <source>速度（字/分钟）</source>
        <translation>Speed (chars/min)</translation>
    </message>
    <message>
        <source>打字速度分布</source>
        <translation>Speed Distribution</translation>
    </message>
    <message>
        <source>人数</source>
        <translation>Examinees</translation>
    </message>
    <message>
        <source>速度（字/分钟，每档%1）</source>
        <translation>Speed (chars/min, bins of %1)</translation>
    </message>
    <message>
        <source>正确率与速度</source>
        <translation>Accuracy and Speed</translation>
    </message>
    <message>
        <source>%1的成绩变化</source>
        <translation>%1's Progress</translation>
    </message>
    <message>
        <source>考试时间</source>
        <translation>Exam time</translation>
    </message>
</context>
<context>
    <name>examreport</name>
    <message>
        <source>文章《%1》　考试日期 %2　考试时间 %3分钟　%4</source>
        <translation>Text "%1"   exam date %2   exam time %3 minutes   %4</translation>
    </message>
    <message>
        <source>打字考试成绩报告　</source>
        <translation>Typing Exam Report   </translation>
    </message>
    <message>
        <source>打字考试成绩报告</source>
        <translation>Typing Exam Report</translation>
    </message>
    <message>
        <source>存疑　%1 %2 %3：%4</source>
        <translation>Doubtful   %1 %2 %3: %4</translation>
    </message>
    <message>
        <source>考试报告</source>
        <translation>Exam Report</translation>
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
    <name>gradereport</name>
    <message>
        <source>年级打字考试成绩报告</source>
        <translation>Grade Typing Exam Report</translation>
    </message>
    <message>
        <source>　</source>
        <translation> </translation>
    </message>
    <message>
        <source>全年级与各班</source>
        <translation>Whole grade and classes</translation>
    </message>
    <message>
        <source>全年级</source>
        <translation>Whole grade</translation>
    </message>
    <message>
        <source>各机房</source>
        <translation>Labs</translation>
    </message>
    <message>
        <source>年级考试报告</source>
        <translation>Grade Exam Report</translation>
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
    <name>loginslips</name>
    <message>
        <source>打字考试登录码</source>
        <translation>Typing Exam Login Code</translation>
    </message>
    <message>
        <source>姓名：</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>部门：</source>
        <translation>Department:</translation>
    </message>
    <message>
        <source>考号：</source>
        <translation>Exam no.:</translation>
    </message>
    <message>
        <source>登录码：</source>
        <translation>Login code:</translation>
    </message>
    <message>
        <source>登录时填入“登录码”一栏，不要给别人看。</source>
        <translation>Enter it under "Login code" when you log in; do not show it to anyone.</translation>
    </message>
    <message>
        <source>　</source>
        <translation> </translation>
    </message>
    <message>
        <source>登录码</source>
        <translation>Login Codes</translation>
    </message>
    <message>
        <source>这场考试没有登录码。</source>
        <translation>This exam has no login codes.</translation>
    </message>
    <message>
        <source>无法写入登录码 %1</source>
        <translation>Cannot write the login codes %1</translation>
    </message>
</context>
<context>
    <name>machinetyping</name>
    <message>
        <source>汉字未经输入法输入（%1字）</source>
        <translation>Chinese typed without an input method (%1 chars)</translation>
    </message>
    <message>
        <source>（%1秒内按键%2次）</source>
        <translation> (%2 keys in %1 s)</translation>
    </message>
    <message>
        <source>（停顿之间%1次按键的间隔几乎相同，离散度%2）</source>
        <translation> (the intervals of %1 keystrokes between pauses are nearly the same, spread %2)</translation>
    </message>
    <message>
        <source>（连续%1次按键平均间隔%2毫秒）</source>
        <translation> (%1 keystrokes in a row, mean interval %2 ms)</translation>
    </message>
    <message>
        <source>大段文字无按键输入（一次出现%1字，按键%2次）</source>
        <translation>Large text without keystrokes (%1 chars appeared at once, %2 keys)</translation>
    </message>
    <message>
        <source>输入法粘贴%1字</source>
        <translation>Pasted by the input method: %1 chars</translation>
    </message>
    <message>
        <source>（按键记录到第%1秒，用时只有%2秒）</source>
        <translation> (keystrokes recorded up to %1 s, time used only %2 s)</translation>
    </message>
    <message>
        <source>（按键记录共%1字，答卷%2字）</source>
        <translation> (the keystroke record has %1 chars, the answer sheet %2)</translation>
    </message>
    <message>
        <source>（按键记录中的改动前后接不上）</source>
        <translation> (the changes in the keystroke record do not join up)</translation>
    </message>
    <message>
        <source>（按键记录重放出的文字与答卷不同）</source>
        <translation> (the text replayed from the keystroke record differs from the answer sheet)</translation>
    </message>
    <message>
        <source>（%1）</source>
        <translation> (%1)</translation>
    </message>
</context>
<context>
    <name>pdffile</name>
    <message>
        <source>Kestrix 考试服务器</source>
        <translation>Kestrix Exam Server</translation>
    </message>
    <message>
        <source>无法建立文件</source>
        <translation>Cannot create the file</translation>
    </message>
    <message>
        <source>文件没有写完</source>
        <translation>The file was not written to the end</translation>
    </message>
</context>
<context>
    <name>pgpassfile</name>
    <message>
        <source>数据库地址中没有服务器或用户，无法写入口令。</source>
        <translation>The database address has no server or user; the password cannot be written.</translation>
    </message>
    <message>
        <source>无法写入口令文件 %1：%2</source>
        <translation>Cannot write the password file %1: %2</translation>
    </message>
</context>
<context>
    <name>reportpages</name>
    <message>
        <source>统计</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>人数</source>
        <translation>Examinees</translation>
    </message>
    <message>
        <source>平均</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>中位数</source>
        <translation>Median</translation>
    </message>
    <message>
        <source>最高</source>
        <translation>Highest</translation>
    </message>
    <message>
        <source>最低</source>
        <translation>Lowest</translation>
    </message>
    <message>
        <source>标准差</source>
        <translation>Std. dev.</translation>
    </message>
    <message>
        <source> 速度</source>
        <translation> speed</translation>
    </message>
    <message>
        <source> 正确率</source>
        <translation> accuracy</translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>；</source>
        <translation>; </translation>
    </message>
    <message>
        <source>，</source>
        <translation>, </translation>
    </message>
    <message>
        <source>；及格率 %1%</source>
        <translation>; pass rate %1%</translation>
    </message>
    <message>
        <source>无法写入报告 %1</source>
        <translation>Cannot write the report %1</translation>
    </message>
</context>
<context>
    <name>schoolupgrade</name>
    <message>
        <source>学校存档的地址应如 postgresql://所有者@服务器:5432/数据库。</source>
        <translation>The school archive's address should look like postgresql://owner@server:5432/database.</translation>
    </message>
    <message>
        <source>学校存档 %1 已是版本%2，不需要升级。</source>
        <translation>The school archive %1 is already at version %2; no upgrade is needed.</translation>
    </message>
    <message>
        <source>已在学校存档 %1 中建好数据表（存档版本%2）。</source>
        <translation>The tables were created in the school archive %1 (archive version %2).</translation>
    </message>
    <message>
        <source>学校存档 %1 已从版本%2升级到版本%3。</source>
        <translation>The school archive %1 was upgraded from version %2 to version %3.</translation>
    </message>
    <message>
        <source>
%1 的成员（各机房的账号）现在可以使用它：读取所有考试，只能更改和删除本机房的考试。</source>
        <translation>
The members of %1 (the labs' accounts) can use it now: read every exam, change and delete only their own lab's.</translation>
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
    <name>spellingmarks</name>
    <message>
        <source>写法与名单不同，名单写法（%1）另有成绩，这一行不是该考生本人的，不计入</source>
        <translation>spelt differently from the list; the list's spelling (%1) has a result of its own, so this row is not that examinee's own and is not counted</translation>
    </message>
    <message>
        <source>同一考生另有写法不同的成绩：%1</source>
        <translation>the same examinee has another result spelt differently: %1</translation>
    </message>
    <message>
        <source>、</source>
        <translation>, </translation>
    </message>
</context>
<context>
    <name>termreport</name>
    <message>
        <source>汇总</source>
        <translation>Summary</translation>
    </message>
    <message>
        <source>班级统计</source>
        <translation>Class Statistics</translation>
    </message>
    <message>
        <source>没有选中考试，没有生成学期报告。</source>
        <translation>No exams are selected; no term report was made.</translation>
    </message>
    <message>
        <source>学期报告</source>
        <translation>Term Report</translation>
    </message>
    <message>
        <source>无法建立工作表</source>
        <translation>Cannot create the worksheet</translation>
    </message>
    <message>
        <source>无法建立工作表“%1”</source>
        <translation>Cannot create the worksheet "%1"</translation>
    </message>
    <message>
        <source>考试</source>
        <translation>Exam</translation>
    </message>
    <message>
        <source>文章</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>平均速度</source>
        <translation>Mean speed</translation>
    </message>
    <message>
        <source>及格率（%）</source>
        <translation>Pass rate (%)</translation>
    </message>
    <message>
        <source>应考</source>
        <translation>Expected</translation>
    </message>
    <message>
        <source>实考</source>
        <translation>Present</translation>
    </message>
    <message>
        <source>未开始</source>
        <translation>Waiting</translation>
    </message>
    <message>
        <source>缺考</source>
        <translation>Absent</translation>
    </message>
    <message>
        <source>无法建立图表</source>
        <translation>Cannot create the chart</translation>
    </message>
    <message>
        <source>班级平均速度</source>
        <translation>Class Mean Speed</translation>
    </message>
    <message>
        <source>字/分钟</source>
        <translation>chars/min</translation>
    </message>
    <message>
        <source>无法插入图表</source>
        <translation>Cannot insert the chart</translation>
    </message>
    <message>
        <source>学期报告-%1-%2.xlsx</source>
        <translation>term report-%1-%2.xlsx</translation>
    </message>
</context>
<context>
    <name>termreportrun</name>
    <message>
        <source>%1已保存为 %2</source>
        <translation>%1 saved as %2</translation>
    </message>
    <message>
        <source>存档</source>
        <translation>Archive</translation>
    </message>
    <message>
        <source>学期报告（%1场考试）</source>
        <translation>Term report (%1 exams)</translation>
    </message>
    <message>
        <source>%1年级学期报告（%2个班）</source>
        <translation>%1 grade term report (%2 classes)</translation>
    </message>
    <message>
        <source>正在生成PDF报告……</source>
        <translation>Making the PDF report...</translation>
    </message>
    <message>
        <source>报告已保存为 %1</source>
        <translation>Report saved as %1</translation>
    </message>
    <message>
        <source>存档中没有考试。</source>
        <translation>The archive holds no exams.</translation>
    </message>
</context>
<context>
    <name>termworkbook</name>
    <message>
        <source>年级汇总</source>
        <translation>Grade Summary</translation>
    </message>
    <message>
        <source>年级学期报告-%1.xlsx</source>
        <translation>grade term report-%1.xlsx</translation>
    </message>
    <message>
        <source>选中的班级在%1没有考试，没有生成年级学期报告。</source>
        <translation>The chosen classes had no exams in %1; no grade term report was made.</translation>
    </message>
    <message>
        <source>年级学期报告</source>
        <translation>Grade Term Report</translation>
    </message>
    <message>
        <source>无法建立工作表</source>
        <translation>Cannot create the worksheet</translation>
    </message>
    <message>
        <source>无法建立工作表“%1”</source>
        <translation>Cannot create the worksheet "%1"</translation>
    </message>
    <message>
        <source>%1 年级汇总（%2个班）</source>
        <translation>%1 grade summary (%2 classes)</translation>
    </message>
    <message>
        <source>班级</source>
        <translation>Class</translation>
    </message>
    <message>
        <source>考试场数</source>
        <translation>Exams</translation>
    </message>
    <message>
        <source>应考（人次）</source>
        <translation>Expected (sittings)</translation>
    </message>
    <message>
        <source>实考（人次）</source>
        <translation>Present (sittings)</translation>
    </message>
    <message>
        <source>未开始（人次）</source>
        <translation>Not started (sittings)</translation>
    </message>
    <message>
        <source>缺考（人次）</source>
        <translation>Absent (sittings)</translation>
    </message>
    <message>
        <source>平均速度</source>
        <translation>Mean speed</translation>
    </message>
    <message>
        <source>最高速度</source>
        <translation>Highest speed</translation>
    </message>
    <message>
        <source>最低速度</source>
        <translation>lowest speed</translation>
    </message>
    <message>
        <source>平均正确率（%）</source>
        <translation>Mean accuracy (%)</translation>
    </message>
    <message>
        <source>及格率（%）</source>
        <translation>Pass rate (%)</translation>
    </message>
    <message>
        <source>无法建立图表</source>
        <translation>Cannot create the chart</translation>
    </message>
    <message>
        <source>各班平均速度</source>
        <translation>Mean Speed by Class</translation>
    </message>
    <message>
        <source>字/分钟</source>
        <translation>chars/min</translation>
    </message>
    <message>
        <source>无法插入图表</source>
        <translation>Cannot insert the chart</translation>
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
<context>
    <name>writeproblem</name>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>。请确认这个文件夹可以写入、同名文件没有在 Excel 或 WPS 中打开、磁盘还有空间，然后再试一次。（详细信息：</source>
        <translation>. Make sure the folder can be written, no file of the same name is open in Excel or WPS and the disk has space, then try again. (Details: </translation>
    </message>
    <message>
        <source>）</source>
        <translation>)</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>out of memory</translation>
    </message>
    <message>
        <source>无法建立文件</source>
        <translation>Cannot create the file</translation>
    </message>
    <message>
        <source>无法使用临时文件</source>
        <translation>cannot use a temporary file</translation>
    </message>
    <message>
        <source>表格内容无法写入文件</source>
        <translation>the table cannot be written to the file</translation>
    </message>
</context>
<context>
    <name>xlsxfile</name>
    <message>
        <source>&amp;C第 &amp;P 页 / 共 &amp;N 页</source>
        <translation>&amp;CPage &amp;P of &amp;N</translation>
    </message>
</context>
<context>
    <name>xlsxnumbers</name>
    <message>
        <source>写出的文件无法读回</source>
        <translation>the written file cannot be read back</translation>
    </message>
    <message>
        <source>无法压缩</source>
        <translation>cannot compress</translation>
    </message>
</context>
</TS>
