<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AccountChange</name>
    <message>
        <source>无法统计账号: %1</source>
        <translation>Cannot count the accounts: %1</translation>
    </message>
    <message>
        <source>账号不存在: %1</source>
        <translation>No such account: %1</translation>
    </message>
</context>
<context>
    <name>AccountCleanup</name>
    <message>
        <source>删除 %1 的账号失败: %2</source>
        <translation>Deleting the accounts of %1 failed: %2</translation>
    </message>
    <message>
        <source>库 %1 成功删除 %2 个账号</source>
        <translation>Deleted %2 accounts from database %1</translation>
    </message>
    <message>
        <source>查询web库失败: </source>
        <translation>Reading the web database failed: </translation>
    </message>
    <message>
        <source>未检测到账号库</source>
        <translation>No account database found</translation>
    </message>
    <message>
        <source>检测到 %1 个账号库: %2</source>
        <translation>Found %1 account databases: %2</translation>
    </message>
    <message>
        <source>没有找到需要删除的账号</source>
        <translation>No accounts to delete</translation>
    </message>
    <message>
        <source>正在处理账号库: %1</source>
        <translation>Processing account database: %1</translation>
    </message>
    <message>
        <source>删除 %1 的账号失败，该库已回滚: %2</source>
        <translation>Deleting the accounts of %1 failed, that database was rolled back: %2</translation>
    </message>
    <message>
        <source>此前的账号库已删除 %1 个账号</source>
        <translation>The account databases before it already lost %1 accounts</translation>
    </message>
    <message>
        <source>无法统计 %1 的账号</source>
        <translation>Cannot count the accounts of %1</translation>
    </message>
    <message>
        <source>无法连接账号服务器 %1:%2: %3</source>
        <translation>Cannot connect to the account server %1:%2: %3</translation>
    </message>
    <message numerus="yes">
        <source>所有账号库共删除 %Ln 个账号</source>
        <translation>
            <numerusform>Deleted %Ln account from all account databases</numerusform>
            <numerusform>Deleted %Ln accounts from all account databases</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>找到 %Ln 个账号需要删除</source>
        <translation>
            <numerusform>Found %Ln account to delete</numerusform>
            <numerusform>Found %Ln accounts to delete</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AccountCleanup::AccountConnections</name>
    <message>
        <source>无法连接账号数据库 %1 (%2:%3): %4</source>
        <translation>Cannot connect to the account database %1 (%2:%3): %4</translation>
    </message>
    <message>
        <source>使用 ODBC 驱动 [%1] 连接 %2 成功</source>
        <translation>Connected to %2 with the ODBC driver [%1]</translation>
    </message>
    <message>
        <source>使用 QMYSQL 驱动连接 %1 成功</source>
        <translation>Connected to %1 with the QMYSQL driver</translation>
    </message>
</context>
<context>
    <name>AccountManagerDialog</name>
    <message>
        <source>账号管理 - %1@%2</source>
        <translation>Accounts - %1@%2</translation>
    </message>
    <message>
        <source>搜索账号:</source>
        <translation>Search accounts:</translation>
    </message>
    <message>
        <source>输入账号名搜索...</source>
        <translation>Type an account name to search...</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>账号名</source>
        <translation>Account</translation>
    </message>
    <message>
        <source>点数</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>额外点数</source>
        <translation>Extra points</translation>
    </message>
    <message>
        <source>在线</source>
        <translation>Online</translation>
    </message>
    <message>
        <source>锁定</source>
        <translation>Locked</translation>
    </message>
    <message>
        <source>单个账号操作</source>
        <translation>One account</translation>
    </message>
    <message>
        <source>注册账号</source>
        <translation>Register account</translation>
    </message>
    <message>
        <source>删除账号</source>
        <translation>Delete account</translation>
    </message>
    <message>
        <source>修改密码</source>
        <translation>Change password</translation>
    </message>
    <message>
        <source>修改点数</source>
        <translation>Change points</translation>
    </message>
    <message>
        <source>批量操作 (对所有账号)</source>
        <translation>All accounts</translation>
    </message>
    <message>
        <source>一键增加点数</source>
        <translation>Add points to all</translation>
    </message>
    <message>
        <source>一键清空点数</source>
        <translation>Clear all points</translation>
    </message>
    <message>
        <source>一键设置点数</source>
        <translation>Set all points</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>无法连接账号数据库: </source>
        <translation>Cannot connect to the account database: </translation>
    </message>
    <message>
        <source>是</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>No</translation>
    </message>
    <message>
        <source>确认操作</source>
        <translation>Confirm</translation>
    </message>
    <message>
        <source>  account: %1 条记录（点数）</source>
        <translation>  account: %1 rows (points)</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>输入账号名</source>
        <translation>Account name</translation>
    </message>
    <message>
        <source>输入密码</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>账号名:</source>
        <translation>Account:</translation>
    </message>
    <message>
        <source>密  码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>自动添加后缀 </source>
        <translation>Add the suffix </translation>
    </message>
    <message>
        <source>注册</source>
        <translation>Register</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>账号名不能为空！</source>
        <translation>The account name must not be empty!</translation>
    </message>
    <message>
        <source>密码不能为空！</source>
        <translation>The password must not be empty!</translation>
    </message>
    <message>
        <source>账号 %1 注册成功！</source>
        <translation>Account %1 registered!</translation>
    </message>
    <message>
        <source>注册失败: </source>
        <translation>Registration failed: </translation>
    </message>
    <message>
        <source>确定要删除账号 %1 吗？</source>
        <translation>Delete account %1?</translation>
    </message>
    <message>
        <source>

⚠️ 该账号在 %1 还有 %2 个角色，删除账号后这些角色将无法登录。</source>
        <translation>

⚠️ This account still has %2 characters in %1; they can no longer log in once the account is gone.</translation>
    </message>
    <message>
        <source>

未连接角色库，无法统计该账号的角色。</source>
        <translation>

Not connected to the character database: the account&apos;s characters cannot be counted.</translation>
    </message>
    <message>
        <source>确认删除</source>
        <translation>Confirm deletion</translation>
    </message>
    <message>
        <source>  account: %1 条记录</source>
        <translation>  account: %1 rows</translation>
    </message>
    <message>
        <source>账号 %1 已删除！</source>
        <translation>Account %1 deleted!</translation>
    </message>
    <message>
        <source>删除失败: </source>
        <translation>Deletion failed: </translation>
    </message>
    <message>
        <source>为账号 %1 设置新密码:</source>
        <translation>New password for account %1:</translation>
    </message>
    <message>
        <source>账号 %1 密码已修改！</source>
        <translation>Password of account %1 changed!</translation>
    </message>
    <message>
        <source>修改失败: </source>
        <translation>Change failed: </translation>
    </message>
    <message>
        <source>账号 %1 当前点数: %2
请输入新点数:</source>
        <translation>Account %1 has %2 points now.
New points:</translation>
    </message>
    <message>
        <source>账号 %1 点数已修改为 %2！</source>
        <translation>Points of account %1 set to %2!</translation>
    </message>
    <message>
        <source>编辑账号 - %1</source>
        <translation>Edit account - %1</translation>
    </message>
    <message>
        <source>账号: &lt;b&gt;%1&lt;/b&gt;</source>
        <translation>Account: &lt;b&gt;%1&lt;/b&gt;</translation>
    </message>
    <message>
        <source>留空则不修改密码</source>
        <translation>Leave empty to keep the password</translation>
    </message>
    <message>
        <source>新密码:</source>
        <translation>New password:</translation>
    </message>
    <message>
        <source>点数:</source>
        <translation>Points:</translation>
    </message>
    <message>
        <source>额外点数:</source>
        <translation>Extra points:</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>没有任何修改。</source>
        <translation>Nothing changed.</translation>
    </message>
    <message>
        <source>编辑账号</source>
        <translation>Edit account</translation>
    </message>
    <message>
        <source>账号 %1 已更新！</source>
        <translation>Account %1 updated!</translation>
    </message>
    <message>
        <source>更新失败: </source>
        <translation>Update failed: </translation>
    </message>
    <message>
        <source>为所有账号增加多少点数?</source>
        <translation>How many points to add to every account?</translation>
    </message>
    <message>
        <source>确定要为所有账号增加 %1 点数吗？</source>
        <translation>Add %1 points to every account?</translation>
    </message>
    <message>
        <source>已为所有账号增加 %1 点数！</source>
        <translation>Added %1 points to every account!</translation>
    </message>
    <message>
        <source>操作失败: </source>
        <translation>Operation failed: </translation>
    </message>
    <message>
        <source>确定要清空所有账号的点数吗？</source>
        <translation>Clear the points of every account?</translation>
    </message>
    <message>
        <source>已清空所有账号点数！</source>
        <translation>Cleared the points of every account!</translation>
    </message>
    <message>
        <source>将所有账号点数设置为:</source>
        <translation>Set the points of every account to:</translation>
    </message>
    <message>
        <source>确定要将所有账号点数设置为 %1 吗？</source>
        <translation>Set the points of every account to %1?</translation>
    </message>
    <message>
        <source>已将所有账号点数设置为 %1！</source>
        <translation>Set the points of every account to %1!</translation>
    </message>
    <message>
        <source>读取账号失败: %1</source>
        <translation>Reading the accounts failed: %1</translation>
    </message>
</context>
<context>
    <name>AccountStore</name>
    <message>
        <source>账号不存在（可能已被删除）</source>
        <translation>The account does not exist (it may have been deleted)</translation>
    </message>
    <message>
        <source>账号已存在: %1</source>
        <translation>The account exists already: %1</translation>
    </message>
    <message>
        <source>撤销文件无法写入，未做任何修改: %1</source>
        <translation>The undo file cannot be written, nothing was changed: %1</translation>
    </message>
    <message>
        <source>删除账号 %1</source>
        <translation>Delete account %1</translation>
    </message>
    <message>
        <source>所有账号增加点数 %1</source>
        <translation>Add %1 points to all accounts</translation>
    </message>
    <message>
        <source>清空所有账号点数</source>
        <translation>Clear the points of all accounts</translation>
    </message>
    <message>
        <source>所有账号点数设为 %1</source>
        <translation>Set the points of all accounts to %1</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <source>磁盘已满或文件大小超出限制</source>
        <translation>The disk is full or the file exceeds its size limit</translation>
    </message>
</context>
<context>
    <name>BackupManager</name>
    <message>
        <source>已有备份或恢复操作正在进行，请等待完成</source>
        <translation>A backup or restore is running already; wait until it ends</translation>
    </message>
    <message>
        <source>无法在临时目录 %1 写入密码文件，未启动 %2</source>
        <translation>Cannot write the password file in the temporary folder %1; %2 was not started</translation>
    </message>
    <message>
        <source>开始备份数据库: %1</source>
        <translation>Backing up database: %1</translation>
    </message>
    <message>
        <source>开始恢复数据库: %1</source>
        <translation>Restoring database: %1</translation>
    </message>
    <message>
        <source>无法创建备份文件 %1: %2</source>
        <translation>Cannot create the backup file %1: %2</translation>
    </message>
    <message>
        <source>执行命令: %1 %2</source>
        <translation>Running: %1 %2</translation>
    </message>
    <message>
        <source>mysqldump 正在运行...</source>
        <translation>mysqldump is running...</translation>
    </message>
    <message>
        <source>备份文件不存在: </source>
        <translation>The backup file does not exist: </translation>
    </message>
    <message>
        <source>备份文件: %1 (%2 KB)</source>
        <translation>Backup file: %1 (%2 KB)</translation>
    </message>
    <message>
        <source>执行命令: %1 %2 &lt; %3</source>
        <translation>Running: %1 %2 &lt; %3</translation>
    </message>
    <message>
        <source>mysql 正在运行...</source>
        <translation>mysql is running...</translation>
    </message>
    <message>
        <source>无法启动 mysqldump，请确保程序目录下存在 mysqldump.exe 及其依赖 DLL</source>
        <translation>Cannot start mysqldump: make sure mysqldump.exe and the DLLs it needs are in the program&apos;s folder</translation>
    </message>
    <message>
        <source>无法启动 mysql，请确保程序目录下存在 mysql.exe 及其依赖 DLL</source>
        <translation>Cannot start mysql: make sure mysql.exe and the DLLs it needs are in the program&apos;s folder</translation>
    </message>
    <message>
        <source>%1 异常终止</source>
        <translation>%1 ended abnormally</translation>
    </message>
    <message>
        <source>备份失败，退出码: %1</source>
        <translation>Backup failed, exit code: %1</translation>
    </message>
    <message>
        <source>恢复失败，退出码: %1</source>
        <translation>Restore failed, exit code: %1</translation>
    </message>
    <message>
        <source>（mysql 已执行的语句不会回滚，数据库可能只部分恢复，请用完整的备份再恢复一次）</source>
        <translation>(the statements mysql ran are not rolled back: the database may be restored only in part; restore again from a complete backup)</translation>
    </message>
    <message>
        <source>mysqldump 的输出不完整（没有 &quot;-- Dump completed&quot;）</source>
        <translation>The output of mysqldump is incomplete (no &quot;-- Dump completed&quot;)</translation>
    </message>
    <message>
        <source>无法替换已有的文件 %1</source>
        <translation>Cannot replace the existing file %1</translation>
    </message>
    <message>
        <source>无法把备份命名为 %1</source>
        <translation>Cannot name the backup %1</translation>
    </message>
    <message>
        <source>备份完成: %1 (%2 KB)</source>
        <translation>Backup done: %1 (%2 KB)</translation>
    </message>
    <message>
        <source>恢复完成: %1</source>
        <translation>Restore done: %1</translation>
    </message>
    <message>
        <source>备份文件在检查之后读取失败，恢复已中止</source>
        <translation>The backup file could not be read after it was checked; the restore was stopped</translation>
    </message>
    <message>
        <source>写入备份文件失败: %1</source>
        <translation>Writing the backup file failed: %1</translation>
    </message>
</context>
<context>
    <name>BankDialog</name>
    <message>
        <source>仓库查看 - %1 - %2</source>
        <translation>Bank - %1 - %2</translation>
    </message>
    <message>
        <source>角色 %1 (GUID: %2) 的仓库物品</source>
        <translation>Bank items of character %1 (GUID: %2)</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Slot</translation>
    </message>
    <message>
        <source>物品ID</source>
        <translation>Item ID</translation>
    </message>
    <message>
        <source>物品名称</source>
        <translation>Item name</translation>
    </message>
    <message>
        <source>数量</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>绑定状态</source>
        <translation>Binding</translation>
    </message>
    <message>
        <source>创建者</source>
        <translation>Creator</translation>
    </message>
    <message>
        <source>加载中...</source>
        <translation>Loading...</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>未绑定</source>
        <translation>Not bound</translation>
    </message>
    <message>
        <source>已绑定</source>
        <translation>Bound</translation>
    </message>
    <message>
        <source>装备绑定</source>
        <translation>Bound on equip</translation>
    </message>
    <message>
        <source>状态%1</source>
        <translation>State %1</translation>
    </message>
    <message>
        <source>数据库连接失败</source>
        <translation>Database connection failed</translation>
    </message>
    <message>
        <source>查询失败: %1</source>
        <translation>Query failed: %1</translation>
    </message>
    <message>
        <source>共加载 %1 件仓库物品</source>
        <translation>Loaded %1 bank items</translation>
    </message>
</context>
<context>
    <name>ChangeConfirm</name>
    <message>
        <source>

将改动的数据（服务器上统计）:
</source>
        <translation>

Data to change (counted on the server):
</translation>
    </message>
    <message>
        <source>  无</source>
        <translation>  none</translation>
    </message>
    <message>
        <source>

改动前先写撤销文件，可在“撤销记录”中撤销。</source>
        <translation>

An undo file is written first; the change can be undone in &quot;Undo history&quot;.</translation>
    </message>
    <message>
        <source>

确定要继续吗？</source>
        <translation>

Continue?</translation>
    </message>
    <message>
        <source>

撤销文件: %1</source>
        <translation>

Undo file: %1</translation>
    </message>
</context>
<context>
    <name>CharGuidLedger</name>
    <message>
        <source>读取 t_var 失败: %1</source>
        <translation>Reading t_var failed: %1</translation>
    </message>
    <message>
        <source>WorldID %1 在 t_var 中没有计数器</source>
        <translation>WorldID %1 has no counter in t_var</translation>
    </message>
    <message>
        <source>WorldID %1 的计数器刚刚被游戏改变（有新角色创建），请重试</source>
        <translation>The counter of WorldID %1 was just changed by the game (a character was created); try again</translation>
    </message>
    <message>
        <source>角色ID上限 %1</source>
        <translation>the character ID limit %1</translation>
    </message>
    <message>
        <source>WorldID %1 的计数器 %2</source>
        <translation>the counter %2 of WorldID %1</translation>
    </message>
    <message>
        <source>读取角色ID失败: %1</source>
        <translation>Reading character IDs failed: %1</translation>
    </message>
    <message>
        <source>WorldID %1 的角色 %2</source>
        <translation>character %2 of WorldID %1</translation>
    </message>
    <message>
        <source>WorldID %1 在 t_var 中没有计数器（已有: %2）</source>
        <translation>WorldID %1 has no counter in t_var (there are: %2)</translation>
    </message>
    <message>
        <source>WorldID %1 的角色ID不足：需要 %2 个新ID，计数器 %3 之后只有 %4 个空闲ID，再往上是%5</source>
        <translation>Not enough character IDs in WorldID %1: %2 new IDs are needed, after counter %3 only %4 are free, then comes %5</translation>
    </message>
    <message>
        <source>更新 WorldID %1 的 maxcharguid 失败: %2</source>
        <translation>Updating maxcharguid of WorldID %1 failed: %2</translation>
    </message>
    <message>
        <source>更新 WorldID %1 的 maxcharguid 失败: 改变了 %2 行</source>
        <translation>Updating maxcharguid of WorldID %1 failed: %2 rows changed</translation>
    </message>
    <message>
        <source>t_var 中 WorldID %1 有多行计数器，无法确定它的下一个角色ID</source>
        <translation>WorldID %1 has more than one counter row in t_var; its next character ID cannot be told</translation>
    </message>
    <message>
        <source>t_var 没有 worldid 列，WorldID %1 的角色占着两段ID（计数器 %2 和 %3），无法确定它的计数器</source>
        <translation>t_var has no worldid column, and the characters of WorldID %1 hold two ranges of IDs (counters %2 and %3); its counter cannot be told</translation>
    </message>
</context>
<context>
    <name>CharacterCopier</name>
    <message>
        <source>========== 开始复制角色 ==========</source>
        <translation>========== Copying a character ==========</translation>
    </message>
    <message>
        <source>源CharGUID=%1, 目标账号=%2, 新名称=%3</source>
        <translation>Source CharGUID=%1, target account=%2, new name=%3</translation>
    </message>
    <message>
        <source>错误: 读取表清单失败: %1</source>
        <translation>Error: reading the table list failed: %1</translation>
    </message>
    <message>
        <source>读取表清单失败: %1</source>
        <translation>Reading the table list failed: %1</translation>
    </message>
    <message>
        <source>复制角色 CharGUID %1</source>
        <translation>Copy character CharGUID %1</translation>
    </message>
    <message>
        <source>错误: </source>
        <translation>Error: </translation>
    </message>
    <message>
        <source>已取消，复制已回滚</source>
        <translation>Cancelled, the copy was rolled back</translation>
    </message>
    <message>
        <source>错误: 获取源角色信息失败</source>
        <translation>Error: reading the source character failed</translation>
    </message>
    <message>
        <source>获取源角色信息失败</source>
        <translation>Reading the source character failed</translation>
    </message>
    <message>
        <source>源角色 zoneworldid: %1</source>
        <translation>Source character zoneworldid: %1</translation>
    </message>
    <message>
        <source>错误: 获取新charguid失败: %1</source>
        <translation>Error: getting a new charguid failed: %1</translation>
    </message>
    <message>
        <source>获取新charguid失败: %1</source>
        <translation>Getting a new charguid failed: %1</translation>
    </message>
    <message>
        <source>错误: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>更新maxcharguid失败: %1</source>
        <translation>Updating maxcharguid failed: %1</translation>
    </message>
    <message>
        <source>分配新CharGUID: %1</source>
        <translation>New CharGUID: %1</translation>
    </message>
    <message>
        <source>错误: 复制t_char失败: %1</source>
        <translation>Error: copying t_char failed: %1</translation>
    </message>
    <message>
        <source>复制角色基础数据失败: %1</source>
        <translation>Copying the character&apos;s base row failed: %1</translation>
    </message>
    <message>
        <source>t_char 复制成功</source>
        <translation>t_char copied</translation>
    </message>
    <message>
        <source>警告: 表 %1 不存在，跳过</source>
        <translation>Warning: table %1 does not exist, skipped</translation>
    </message>
    <message>
        <source>错误: 复制%1失败: %2</source>
        <translation>Error: copying %1 failed: %2</translation>
    </message>
    <message>
        <source>复制%1失败: %2</source>
        <translation>Copying %1 failed: %2</translation>
    </message>
    <message>
        <source>警告: 表 t_iteminfo 不存在，跳过</source>
        <translation>Warning: table t_iteminfo does not exist, skipped</translation>
    </message>
    <message>
        <source>t_iteminfo 全局最大 guid: %1</source>
        <translation>t_iteminfo highest guid: %1</translation>
    </message>
    <message>
        <source>错误: 查询t_iteminfo失败: %1</source>
        <translation>Error: reading t_iteminfo failed: %1</translation>
    </message>
    <message>
        <source>查询t_iteminfo失败: %1</source>
        <translation>Reading t_iteminfo failed: %1</translation>
    </message>
    <message>
        <source>从源角色读取到 %1 条装备记录</source>
        <translation>Read %1 item rows of the source character</translation>
    </message>
    <message>
        <source>错误: 复制t_iteminfo失败: %1</source>
        <translation>Error: copying t_iteminfo failed: %1</translation>
    </message>
    <message>
        <source>复制t_iteminfo失败: %1</source>
        <translation>Copying t_iteminfo failed: %1</translation>
    </message>
    <message>
        <source>t_iteminfo: 复制了 %1 条装备记录，新 guid 范围: %2-%3</source>
        <translation>t_iteminfo: copied %1 item rows, new guids %2-%3</translation>
    </message>
    <message>
        <source>撤销文件: %1</source>
        <translation>Undo file: %1</translation>
    </message>
    <message>
        <source>========== 角色复制完成 ==========</source>
        <translation>========== Character copied ==========</translation>
    </message>
    <message>
        <source>新CharGUID=%1, 新角色名=%2</source>
        <translation>New CharGUID=%1, new name=%2</translation>
    </message>
    <message>
        <source>开始复制宠物数据...</source>
        <translation>Copying pets...</translation>
    </message>
    <message>
        <source>宠物当前最大 lpetguid: %1</source>
        <translation>Highest pet lpetguid now: %1</translation>
    </message>
    <message>
        <source>查询%1失败: %2</source>
        <translation>Reading %1 failed: %2</translation>
    </message>
    <message>
        <source>%1: 复制了 %2 只宠物</source>
        <translation>%1: copied %2 pets</translation>
    </message>
    <message>
        <source>警告: 表 t_pet_iteminfo 不存在，跳过</source>
        <translation>Warning: table t_pet_iteminfo does not exist, skipped</translation>
    </message>
    <message>
        <source>t_pet_iteminfo 最大 guid: %1</source>
        <translation>t_pet_iteminfo highest guid: %1</translation>
    </message>
    <message>
        <source>复制t_pet_iteminfo失败: %1</source>
        <translation>Copying t_pet_iteminfo failed: %1</translation>
    </message>
    <message>
        <source>t_pet_iteminfo: 复制了 %1 条宠物装备记录</source>
        <translation>t_pet_iteminfo: copied %1 pet item rows</translation>
    </message>
    <message>
        <source>宠物数据复制完成</source>
        <translation>Pets copied</translation>
    </message>
    <message>
        <source>错误: 角色名 %1 已被占用</source>
        <translation>Error: the character name %1 is taken</translation>
    </message>
    <message>
        <source>角色名 %1 已被占用（确认之后被占用），未做任何修改</source>
        <translation>The character name %1 is taken (since it was confirmed); nothing was changed</translation>
    </message>
    <message numerus="yes">
        <source>%1: 复制了 %Ln 条记录</source>
        <translation>
            <numerusform>%1: copied %Ln row</numerusform>
            <numerusform>%1: copied %Ln rows</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CharacterDeleter</name>
    <message>
        <source>错误: </source>
        <translation>Error: </translation>
    </message>
    <message>
        <source>未连接到数据库</source>
        <translation>Not connected to a database</translation>
    </message>
    <message>
        <source>开始删除 zoneworldid IN (%1) 的角色数据...</source>
        <translation>Deleting the characters of zoneworldid IN (%1)...</translation>
    </message>
    <message>
        <source>查询角色失败: </source>
        <translation>Reading the characters failed: </translation>
    </message>
    <message>
        <source>没有找到符合条件的角色</source>
        <translation>No matching characters</translation>
    </message>
    <message>
        <source>区服删档 WorldID %1</source>
        <translation>Zone wipe WorldID %1</translation>
    </message>
    <message>
        <source>已取消，所有删除已回滚</source>
        <translation>Cancelled, every deletion was rolled back</translation>
    </message>
    <message>
        <source>撤销文件: %1</source>
        <translation>Undo file: %1</translation>
    </message>
    <message>
        <source>读取表清单失败: </source>
        <translation>Reading the table list failed: </translation>
    </message>
    <message>
        <source>清理 t_relation 反向关系失败: %1</source>
        <translation>Clearing the reverse relations in t_relation failed: %1</translation>
    </message>
    <message>
        <source>删除 t_char 失败: %1</source>
        <translation>Deleting t_char failed: %1</translation>
    </message>
    <message>
        <source>删除 %1 失败: %2</source>
        <translation>Deleting %1 failed: %2</translation>
    </message>
    <message>
        <source>[单角色异常修复] 开始修复 CharGUID=%1...</source>
        <translation>[Character repair] Repairing CharGUID=%1...</translation>
    </message>
    <message>
        <source>[单角色异常修复] CharGUID=%1 没有发现重复数据</source>
        <translation>[Character repair] CharGUID=%1 has no duplicates</translation>
    </message>
    <message>
        <source>查询%1失败: %2</source>
        <translation>Reading %1 failed: %2</translation>
    </message>
    <message>
        <source>[单角色异常修复] 完成！共删除 %1 条重复记录</source>
        <translation>[Character repair] Done! %1 duplicate rows removed</translation>
    </message>
    <message>
        <source>修复技能 CharGUID %1</source>
        <translation>Repair skills CharGUID %1</translation>
    </message>
    <message>
        <source>已取消，所有修改已回滚</source>
        <translation>Cancelled, every change was rolled back</translation>
    </message>
    <message>
        <source>[%1] 发现 %2 组重复，开始修复...</source>
        <translation>[%1] %2 duplicated keys found, repairing...</translation>
    </message>
    <message>
        <source>删除重复%1失败: %2</source>
        <translation>Deleting duplicate %1 failed: %2</translation>
    </message>
    <message>
        <source>删除%1失败: %2</source>
        <translation>Deleting %1 failed: %2</translation>
    </message>
    <message>
        <source>批量插入%1失败: %2</source>
        <translation>Reinserting %1 failed: %2</translation>
    </message>
    <message>
        <source>[%1] 删除 %2 条重复，重排 %3 条记录</source>
        <translation>[%1] %2 duplicates removed, %3 rows reordered</translation>
    </message>
    <message>
        <source>开始删除角色 CharGUID=%1</source>
        <translation>Deleting character CharGUID=%1</translation>
    </message>
    <message>
        <source>删除角色 CharGUID %1</source>
        <translation>Delete character CharGUID %1</translation>
    </message>
    <message>
        <source>未找到要删除的角色</source>
        <translation>The character to delete was not found</translation>
    </message>
    <message>
        <source>角色 %1 删除成功</source>
        <translation>Character %1 deleted</translation>
    </message>
    <message numerus="yes">
        <source>找到 %Ln 个角色需要删除</source>
        <translation>
            <numerusform>Found %Ln character to delete</numerusform>
            <numerusform>Found %Ln characters to delete</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>删除完成！共删除 %Ln 条记录</source>
        <translation>
            <numerusform>Deletion done! %Ln row deleted</numerusform>
            <numerusform>Deletion done! %Ln rows deleted</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CharacterEdit</name>
    <message>
        <source>角色名</source>
        <translation>Character name</translation>
    </message>
    <message>
        <source>账号名</source>
        <translation>Account</translation>
    </message>
    <message>
        <source>称号</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>%1不能为空</source>
        <translation>%1 must not be empty</translation>
    </message>
    <message>
        <source>%1过长：最多 %2 %3（当前 %4）</source>
        <translation>%1 is too long: at most %2 %3 (now %4)</translation>
    </message>
    <message>
        <source>字节</source>
        <translation>bytes</translation>
    </message>
    <message>
        <source>个字符</source>
        <translation>characters</translation>
    </message>
    <message>
        <source>角色名已存在: %1</source>
        <translation>The character name exists already: %1</translation>
    </message>
    <message>
        <source>编辑角色 CharGUID %1</source>
        <translation>Edit character CharGUID %1</translation>
    </message>
    <message>
        <source>无法修改 &quot;%1&quot;，可改的字段: %2</source>
        <translation>Cannot change &quot;%1&quot;; the fields that can be changed: %2</translation>
    </message>
    <message>
        <source>%1 需要整数，而不是 &quot;%2&quot;</source>
        <translation>%1 needs a whole number, not &quot;%2&quot;</translation>
    </message>
    <message>
        <source>set 需要至少一个 FIELD=VALUE</source>
        <translation>set needs at least one FIELD=VALUE</translation>
    </message>
</context>
<context>
    <name>CharacterEditDialog</name>
    <message>
        <source>编辑角色 - CharGUID: %1 (%2) - %3</source>
        <translation>Edit character - CharGUID: %1 (%2) - %3</translation>
    </message>
    <message>
        <source>基本信息</source>
        <translation>Basics</translation>
    </message>
    <message>
        <source>经济属性</source>
        <translation>Wealth</translation>
    </message>
    <message>
        <source>银币:</source>
        <translation>Silver:</translation>
    </message>
    <message>
        <source>钱庄银币:</source>
        <translation>Bank silver:</translation>
    </message>
    <message>
        <source>元宝:</source>
        <translation>Yuanbao:</translation>
    </message>
    <message>
        <source>绑定元宝:</source>
        <translation>Bound yuanbao:</translation>
    </message>
    <message>
        <source>战斗属性</source>
        <translation>Combat</translation>
    </message>
    <message>
        <source>经验值:</source>
        <translation>Experience:</translation>
    </message>
    <message>
        <source>生命值:</source>
        <translation>HP:</translation>
    </message>
    <message>
        <source>魔法值:</source>
        <translation>MP:</translation>
    </message>
    <message>
        <source>力量:</source>
        <translation>Strength:</translation>
    </message>
    <message>
        <source>体力:</source>
        <translation>Stamina:</translation>
    </message>
    <message>
        <source>敏捷:</source>
        <translation>Agility:</translation>
    </message>
    <message>
        <source>灵气:</source>
        <translation>Spirit:</translation>
    </message>
    <message>
        <source>定力:</source>
        <translation>Focus:</translation>
    </message>
    <message>
        <source>属性点:</source>
        <translation>Attribute points:</translation>
    </message>
    <message>
        <source>位置信息</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>当前场景:</source>
        <translation>Scene:</translation>
    </message>
    <message>
        <source>X 坐标:</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>Z 坐标:</source>
        <translation>Z:</translation>
    </message>
    <message>
        <source>返回场景:</source>
        <translation>Return scene:</translation>
    </message>
    <message>
        <source>返回 X:</source>
        <translation>Return X:</translation>
    </message>
    <message>
        <source>返回 Z:</source>
        <translation>Return Z:</translation>
    </message>
    <message>
        <source>返回洛阳</source>
        <translation>Back to Luoyang</translation>
    </message>
    <message>
        <source>设置当前位置为洛阳 (场景0, X=9000, Z=18500)</source>
        <translation>Set the position to Luoyang (scene 0, X=9000, Z=18500)</translation>
    </message>
    <message>
        <source>其他属性</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>精力:</source>
        <translation>Energy:</translation>
    </message>
    <message>
        <source>最大精力:</source>
        <translation>Max energy:</translation>
    </message>
    <message>
        <source>活力:</source>
        <translation>Vigor:</translation>
    </message>
    <message>
        <source>最大活力:</source>
        <translation>Max vigor:</translation>
    </message>
    <message>
        <source>帮派贡献:</source>
        <translation>Guild contribution:</translation>
    </message>
    <message>
        <source>门派贡献:</source>
        <translation>Sect contribution:</translation>
    </message>
    <message>
        <source>武道点数:</source>
        <translation>Wudao points:</translation>
    </message>
    <message>
        <source>杀气值:</source>
        <translation>Killing intent:</translation>
    </message>
    <message>
        <source>赠点:</source>
        <translation>Bonus points:</translation>
    </message>
    <message>
        <source>称号:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>BUFF状态</source>
        <translation>Buffs</translation>
    </message>
    <message>
        <source>心法技能</source>
        <translation>Xinfa and skills</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>保存修改</source>
        <translation>Save changes</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>账号名:</source>
        <translation>Account:</translation>
    </message>
    <message>
        <source>可修改账号归属</source>
        <translation>Allow changing the account</translation>
    </message>
    <message>
        <source>角色名:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>性别:</source>
        <translation>Gender:</translation>
    </message>
    <message>
        <source>男</source>
        <translation>Male</translation>
    </message>
    <message>
        <source>女</source>
        <translation>Female</translation>
    </message>
    <message>
        <source>门派:</source>
        <translation>Sect:</translation>
    </message>
    <message>
        <source>少林</source>
        <translation>Shaolin</translation>
    </message>
    <message>
        <source>明教</source>
        <translation>Ming Cult</translation>
    </message>
    <message>
        <source>丐帮</source>
        <translation>Beggars&apos; Sect</translation>
    </message>
    <message>
        <source>武当</source>
        <translation>Wudang</translation>
    </message>
    <message>
        <source>峨眉</source>
        <translation>Emei</translation>
    </message>
    <message>
        <source>星宿</source>
        <translation>Xingxiu</translation>
    </message>
    <message>
        <source>天龙</source>
        <translation>Tianlong</translation>
    </message>
    <message>
        <source>天山</source>
        <translation>Tianshan</translation>
    </message>
    <message>
        <source>逍遥</source>
        <translation>Xiaoyao</translation>
    </message>
    <message>
        <source>无门派</source>
        <translation>No sect</translation>
    </message>
    <message>
        <source>曼陀山庄</source>
        <translation>Mantuo Manor</translation>
    </message>
    <message>
        <source>恶人谷</source>
        <translation>Villains&apos; Valley</translation>
    </message>
    <message>
        <source>等级:</source>
        <translation>Level:</translation>
    </message>
    <message>
        <source>封禁状态:</source>
        <translation>Ban:</translation>
    </message>
    <message>
        <source>未封禁</source>
        <translation>Not banned</translation>
    </message>
    <message>
        <source>封禁角色</source>
        <translation>Ban character</translation>
    </message>
    <message>
        <source>封禁角色，设置封禁时间为100年后</source>
        <translation>Ban the character for 100 years</translation>
    </message>
    <message>
        <source>解封角色</source>
        <translation>Unban character</translation>
    </message>
    <message>
        <source>解除角色封禁</source>
        <translation>Lift the character&apos;s ban</translation>
    </message>
    <message>
        <source>效果ID</source>
        <translation>Effect ID</translation>
    </message>
    <message>
        <source>驻留ID</source>
        <translation>Holder ID</translation>
    </message>
    <message>
        <source>持续时间</source>
        <translation>Duration</translation>
    </message>
    <message>
        <source>已持续时间</source>
        <translation>Elapsed</translation>
    </message>
    <message>
        <source>删除选中BUFF</source>
        <translation>Delete selected buff</translation>
    </message>
    <message>
        <source>清空所有BUFF</source>
        <translation>Clear all buffs</translation>
    </message>
    <message>
        <source>心法列表</source>
        <translation>Xinfa</translation>
    </message>
    <message>
        <source>心法ID</source>
        <translation>Xinfa ID</translation>
    </message>
    <message>
        <source>心法名称</source>
        <translation>Xinfa name</translation>
    </message>
    <message>
        <source>等级</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>修改心法</source>
        <translation>Edit xinfa</translation>
    </message>
    <message>
        <source>心法ID:</source>
        <translation>Xinfa ID:</translation>
    </message>
    <message>
        <source>心法名称:</source>
        <translation>Xinfa name:</translation>
    </message>
    <message>
        <source>心法等级:</source>
        <translation>Xinfa level:</translation>
    </message>
    <message>
        <source>保存心法修改</source>
        <translation>Save xinfa</translation>
    </message>
    <message>
        <source>技能列表</source>
        <translation>Skills</translation>
    </message>
    <message>
        <source>技能ID</source>
        <translation>Skill ID</translation>
    </message>
    <message>
        <source>技能名称</source>
        <translation>Skill name</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>数据库未连接</source>
        <translation>Not connected to the database</translation>
    </message>
    <message>
        <source>无法加载角色数据: %1</source>
        <translation>Cannot load the character: %1</translation>
    </message>
    <message>
        <source>存储的字节 %1 不是有效的 GBK 文本；不修改此项时保存不会改写它</source>
        <translation>The stored bytes %1 are not valid GBK text; saving without changing this field leaves them as they are</translation>
    </message>
    <message>
        <source>未知(%1)</source>
        <translation>Unknown (%1)</translation>
    </message>
    <message>
        <source>数据库中的值 %1 没有对应选项</source>
        <translation>The stored value %1 matches no choice</translation>
    </message>
    <message>
        <source>数据库中的值 %1 超出编辑范围 %2 到 %3</source>
        <translation>The stored value %1 is outside the editable range %2 to %3</translation>
    </message>
    <message>
        <source>封禁中 - 解封时间: %1</source>
        <translation>Banned - until: %1</translation>
    </message>
    <message>
        <source>角色数据未加载</source>
        <translation>The character is not loaded</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>没有需要保存的修改</source>
        <translation>Nothing to save</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>保存失败: %1</source>
        <translation>Saving failed: %1</translation>
    </message>
    <message>
        <source>

ZoneWorldID 将从 %1 改为 %2，角色的装备、时装和珍兽装备随之转移。</source>
        <translation>

ZoneWorldID changes from %1 to %2; the character&apos;s equipment, fashion and pet equipment move with it.</translation>
    </message>
    <message>
        <source>确认保存</source>
        <translation>Confirm saving</translation>
    </message>
    <message>
        <source>编辑角色</source>
        <translation>Edit character</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>角色数据保存成功！</source>
        <translation>Character saved!</translation>
    </message>
    <message>
        <source>角色数据已刷新</source>
        <translation>Character reloaded</translation>
    </message>
    <message>
        <source>确认封禁</source>
        <translation>Confirm ban</translation>
    </message>
    <message>
        <source>确定要封禁该角色吗？

角色GUID: %1
封禁后该角色将无法登录游戏。</source>
        <translation>Ban this character?

Character GUID: %1
A banned character cannot log in.</translation>
    </message>
    <message>
        <source>封禁失败: %1</source>
        <translation>Ban failed: %1</translation>
    </message>
    <message>
        <source>角色已封禁！</source>
        <translation>Character banned!</translation>
    </message>
    <message>
        <source>确认解封</source>
        <translation>Confirm unban</translation>
    </message>
    <message>
        <source>确定要解除该角色的封禁吗？

角色GUID: %1</source>
        <translation>Lift this character&apos;s ban?

Character GUID: %1</translation>
    </message>
    <message>
        <source>解封失败: %1</source>
        <translation>Unban failed: %1</translation>
    </message>
    <message>
        <source>角色已解封！</source>
        <translation>Character unbanned!</translation>
    </message>
    <message>
        <source>永久</source>
        <translation>Permanent</translation>
    </message>
    <message>
        <source>%1天%2小时</source>
        <translation>%1 d %2 h</translation>
    </message>
    <message>
        <source>%1小时%2分</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1分%2秒</source>
        <translation>%1 min %2 s</translation>
    </message>
    <message>
        <source>%1秒</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>无BUFF数据</source>
        <translation>No buffs</translation>
    </message>
    <message>
        <source>请先选择要删除的BUFF</source>
        <translation>Select the buff to delete first</translation>
    </message>
    <message>
        <source>确认删除</source>
        <translation>Confirm deletion</translation>
    </message>
    <message>
        <source>确定要删除选中的BUFF吗？</source>
        <translation>Delete the selected buff?</translation>
    </message>
    <message>
        <source>BUFF删除失败</source>
        <translation>Deleting the buff failed</translation>
    </message>
    <message>
        <source>BUFF删除成功</source>
        <translation>Buff deleted</translation>
    </message>
    <message>
        <source>确认清空</source>
        <translation>Confirm clearing</translation>
    </message>
    <message>
        <source>确定要清空该角色的所有BUFF吗？

此操作不可恢复！</source>
        <translation>Clear all buffs of this character?

This cannot be undone!</translation>
    </message>
    <message>
        <source>清空BUFF失败</source>
        <translation>Clearing the buffs failed</translation>
    </message>
    <message>
        <source>已清空 %1 个BUFF</source>
        <translation>Cleared %1 buffs</translation>
    </message>
    <message>
        <source>心法%1</source>
        <translation>Xinfa %1</translation>
    </message>
    <message>
        <source>无心法数据</source>
        <translation>No xinfa</translation>
    </message>
    <message>
        <source>请先选择要修改的心法</source>
        <translation>Select the xinfa to change first</translation>
    </message>
    <message>
        <source>心法等级需要在1-10000之间</source>
        <translation>The xinfa level must be between 1 and 10000</translation>
    </message>
    <message>
        <source>心法修改失败: %1</source>
        <translation>Changing the xinfa failed: %1</translation>
    </message>
    <message>
        <source>心法修改成功</source>
        <translation>Xinfa changed</translation>
    </message>
    <message>
        <source>技能%1</source>
        <translation>Skill %1</translation>
    </message>
    <message>
        <source>无技能数据</source>
        <translation>No skills</translation>
    </message>
    <message>
        <source>确定要在 %1 上保存对角色 CharGUID %2 的修改吗？

注意：修改后需要玩家重新登录才能生效。</source>
        <translation>Save the changes to character CharGUID %2 on %1?

Note: the player must log in again to see them.</translation>
    </message>
    <message>
        <source>注：持续时间为 -1 表示永久</source>
        <translation>Note: a duration of -1 means permanent</translation>
    </message>
</context>
<context>
    <name>CharacterExport</name>
    <message>
        <source>导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>开始导出角色列表: %1</source>
        <translation>Exporting the character list: %1</translation>
    </message>
    <message>
        <source>无法创建导出文件</source>
        <translation>Cannot create the export file</translation>
    </message>
    <message>
        <source>角色GUID,角色名称,门派,等级,ZoneWorldID
</source>
        <translation>CharGUID,Name,Sect,Level,ZoneWorldID
</translation>
    </message>
    <message>
        <source>写入导出文件失败: %1</source>
        <translation>Writing the export file failed: %1</translation>
    </message>
    <message numerus="yes">
        <source>导出完成: %Ln 条记录</source>
        <translation>
            <numerusform>Export done: %Ln row</numerusform>
            <numerusform>Export done: %Ln rows</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CharacterListDialog</name>
    <message>
        <source>角色管理 - %1</source>
        <translation>Characters - %1</translation>
    </message>
    <message>
        <source>输入ID，多个用逗号分隔</source>
        <translation>IDs, separated by commas</translation>
    </message>
    <message>
        <source>批量选择</source>
        <translation>Choose...</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Query</translation>
    </message>
    <message>
        <source>搜索:</source>
        <translation>Search:</translation>
    </message>
    <message>
        <source>账号</source>
        <translation>Account</translation>
    </message>
    <message>
        <source>角色名</source>
        <translation>Character name</translation>
    </message>
    <message>
        <source>请输入搜索内容</source>
        <translation>Type what to search for</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>角色数量: 0</source>
        <translation>Characters: 0</translation>
    </message>
    <message>
        <source>导出列表</source>
        <translation>Export list</translation>
    </message>
    <message>
        <source>编辑角色</source>
        <translation>Edit character</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>技能修复</source>
        <translation>Repair skills</translation>
    </message>
    <message>
        <source>复制角色</source>
        <translation>Copy character</translation>
    </message>
    <message>
        <source>跨区转移角色</source>
        <translation>Transfer to another world</translation>
    </message>
    <message>
        <source>查看仓库</source>
        <translation>View bank</translation>
    </message>
    <message>
        <source>删除角色</source>
        <translation>Delete character</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>正在取消...</source>
        <translation>Cancelling...</translation>
    </message>
    <message>
        <source>操作正在进行，关闭将取消它并回滚。

确定要取消并关闭吗？</source>
        <translation>An operation is running; closing cancels it and rolls it back.

Cancel it and close?</translation>
    </message>
    <message>
        <source>操作正在进行，窗口将在它完成后关闭。

确定要关闭吗？</source>
        <translation>An operation is running; the window closes once it ends.

Close?</translation>
    </message>
    <message>
        <source>确认关闭</source>
        <translation>Confirm closing</translation>
    </message>
    <message>
        <source>角色数量: %1</source>
        <translation>Characters: %1</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>请输入有效的 ZoneWorldID</source>
        <translation>Enter a valid ZoneWorldID</translation>
    </message>
    <message>
        <source>查询角色...</source>
        <translation>Querying characters...</translation>
    </message>
    <message>
        <source>查询失败</source>
        <translation>Query failed</translation>
    </message>
    <message>
        <source>查询角色</source>
        <translation>Query characters</translation>
    </message>
    <message>
        <source>CharGUID必须是正整数
支持格式: 11001234 或 A7DD92 或 0xA7DD92</source>
        <translation>CharGUID must be a positive whole number
Accepted: 11001234, A7DD92 or 0xA7DD92</translation>
    </message>
    <message>
        <source>搜索角色 [类型: %1]: %2</source>
        <translation>Searching characters [by %1]: %2</translation>
    </message>
    <message>
        <source>搜索失败</source>
        <translation>Search failed</translation>
    </message>
    <message>
        <source>仅显示前 %1 个结果</source>
        <translation>Only the first %1 results are shown</translation>
    </message>
    <message>
        <source>（%1）</source>
        <translation> (%1)</translation>
    </message>
    <message>
        <source>当前数据库中没有找到任何WorldID
请确保数据库已连接且包含角色数据</source>
        <translation>No WorldID found in the current database
Make sure the database is connected and holds characters</translation>
    </message>
    <message>
        <source>已选择 %1 个WorldID: %2</source>
        <translation>%1 WorldIDs chosen: %2</translation>
    </message>
    <message>
        <source>角色数据已修改</source>
        <translation>Character changed</translation>
    </message>
    <message>
        <source>请先选择要编辑的角色</source>
        <translation>Select the character to edit first</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>无效的角色 GUID</source>
        <translation>Invalid character GUID</translation>
    </message>
    <message>
        <source>打开角色编辑: CharGUID = %1</source>
        <translation>Opening the editor: CharGUID = %1</translation>
    </message>
    <message>
        <source>双击编辑角色: CharGUID = %1</source>
        <translation>Double-click to edit: CharGUID = %1</translation>
    </message>
    <message>
        <source>%1: 将改动的数据:</source>
        <translation>%1: data to change:</translation>
    </message>
    <message>
        <source>请先选择角色</source>
        <translation>Select a character first</translation>
    </message>
    <message>
        <source>操作已取消，数据已回滚</source>
        <translation>The operation was cancelled and rolled back</translation>
    </message>
    <message>
        <source>操作失败，数据已回滚，详见日志</source>
        <translation>The operation failed and was rolled back; see the log</translation>
    </message>
    <message>
        <source>操作失败，数据已回滚

%1</source>
        <translation>The operation failed and was rolled back

%1</translation>
    </message>
    <message>
        <source>确认技能修复</source>
        <translation>Confirm skill repair</translation>
    </message>
    <message>
        <source>确认要修复 CharGUID=%1 的重复技能吗？

此操作将删除重复技能并按skid升序排列</source>
        <translation>Repair the duplicated skills of CharGUID=%1?

The duplicates are deleted and the skills ordered by skid</translation>
    </message>
    <message>
        <source>修复技能</source>
        <translation>Repair skills</translation>
    </message>
    <message>
        <source>CharGUID=%1 技能修复完成，删除 %2 条重复记录</source>
        <translation>CharGUID=%1 skills repaired, %2 duplicate rows removed</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>技能修复完成！
删除了 %1 条重复记录</source>
        <translation>Skills repaired!
%1 duplicate rows removed</translation>
    </message>
    <message>
        <source>CharGUID=%1 没有发现重复技能</source>
        <translation>CharGUID=%1 has no duplicated skills</translation>
    </message>
    <message>
        <source>没有发现重复技能</source>
        <translation>No duplicated skills</translation>
    </message>
    <message>
        <source>将角色 [%1] (GUID=%2) 复制到哪个账号？</source>
        <translation>Copy character [%1] (GUID=%2) to which account?</translation>
    </message>
    <message>
        <source>请输入目标账号名称:</source>
        <translation>Target account name:</translation>
    </message>
    <message>
        <source>自动添加后缀 </source>
        <translation>Add the suffix </translation>
    </message>
    <message>
        <source>确认复制</source>
        <translation>Confirm copy</translation>
    </message>
    <message>
        <source>角色复制成功！

新CharGUID: %1
新角色名: %2
目标账号: %3

注意: 好友/师徒等社交关系不会被复制</source>
        <translation>Character copied!

New CharGUID: %1
New name: %2
Target account: %3

Note: friends, masters and other relations are not copied</translation>
    </message>
    <message>
        <source>转移角色</source>
        <translation>Transfer character</translation>
    </message>
    <message>
        <source>将角色 [%1] (GUID=%2) 转移到哪个服务器？

请输入目标 WorldID:</source>
        <translation>Transfer character [%1] (GUID=%2) to which world?

Target WorldID:</translation>
    </message>
    <message>
        <source>角色已在 WorldID %1，无需转移</source>
        <translation>The character is in WorldID %1 already; nothing to transfer</translation>
    </message>
    <message>
        <source>无法转移</source>
        <translation>Cannot transfer</translation>
    </message>
    <message>
        <source>确认转移</source>
        <translation>Confirm transfer</translation>
    </message>
    <message>
        <source>即将转移角色:

角色: %1 (GUID=%2)
目标WorldID: %3</source>
        <translation>About to transfer the character:

Character: %1 (GUID=%2)
Target WorldID: %3</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>角色转移成功!

CharGUID: %1
新WorldID: %2

已同步更新:
• 角色主表
• 角色装备
• 时装装备
• 珍兽装备</source>
        <translation>Character transferred!

CharGUID: %1
New WorldID: %2

Updated with it:
• the character row
• equipment
• fashion
• pet equipment</translation>
    </message>
    <message>
        <source>确认删除</source>
        <translation>Confirm deletion</translation>
    </message>
    <message>
        <source>确认要删除角色 [%1] (GUID=%2) 及其所有关联数据吗？</source>
        <translation>Delete character [%1] (GUID=%2) and all its data?</translation>
    </message>
    <message>
        <source>角色删除成功</source>
        <translation>Character deleted</translation>
    </message>
    <message>
        <source>查看角色仓库: %1 (GUID=%2)</source>
        <translation>Viewing the bank: %1 (GUID=%2)</translation>
    </message>
    <message>
        <source>请先查询角色</source>
        <translation>Query characters first</translation>
    </message>
    <message>
        <source>导出角色列表</source>
        <translation>Export the character list</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV files (*.csv)</translation>
    </message>
    <message>
        <source>导出失败，详见操作日志</source>
        <translation>Export failed; see the log</translation>
    </message>
    <message>
        <source>新角色名:</source>
        <translation>New character name:</translation>
    </message>
    <message>
        <source>无法复制</source>
        <translation>Cannot copy</translation>
    </message>
    <message>
        <source>即将在 %1 上复制角色:

源角色: %2 (GUID=%3)
目标账号: %4
新角色名: %5</source>
        <translation>About to copy a character on %1:

Source: %2 (GUID=%3)
Target account: %4
New name: %5</translation>
    </message>
    <message>
        <source>物品配置加载成功: %1</source>
        <translation>Item catalogue loaded: %1</translation>
    </message>
    <message>
        <source>物品配置加载失败，请检查目录 %1</source>
        <translation>The item catalogue could not be loaded; check the folder %1</translation>
    </message>
    <message>
        <source>取消正在进行的操作</source>
        <translation>Cancel the running operation</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message numerus="yes">
        <source>查询完成，找到 %Ln 个角色</source>
        <translation>
            <numerusform>Query done, %Ln character found</numerusform>
            <numerusform>Query done, %Ln characters found</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>搜索完成，找到 %Ln 个角色</source>
        <translation>
            <numerusform>Search done, %Ln character found</numerusform>
            <numerusform>Search done, %Ln characters found</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CharacterOperation</name>
    <message>
        <source>t_var(计数器)</source>
        <translation>t_var (counter)</translation>
    </message>
    <message>
        <source>角色 CharGUID=%1 已在 WorldID=%2，无需转移</source>
        <translation>Character CharGUID=%1 is in WorldID=%2 already; nothing to transfer</translation>
    </message>
    <message>
        <source>主机配置没有账号库，无法确认目标账号 %1 存在，未复制</source>
        <translation>The host entry names no account database, so the account %1 cannot be found; not copied</translation>
    </message>
    <message>
        <source>无法读取账号库 %1: %2，未复制</source>
        <translation>Cannot read the account database %1: %2; not copied</translation>
    </message>
    <message>
        <source>目标账号 %1 在账号库 %2（%3）中不存在，未复制</source>
        <translation>The account %1 does not exist in the account database %2 (%3); not copied</translation>
    </message>
    <message>
        <source>角色名 %1 已被占用，未复制</source>
        <translation>The character name %1 is taken; not copied</translation>
    </message>
</context>
<context>
    <name>CharacterPurge</name>
    <message>
        <source>t_relation(反向)</source>
        <translation>t_relation (reverse)</translation>
    </message>
    <message>
        <source>  跳过 %1: 表不存在</source>
        <translation>  Skipped %1: the table does not exist</translation>
    </message>
    <message>
        <source>  清理 t_relation(反向关系): %1 条记录</source>
        <translation>  Cleared t_relation (reverse relations): %1 rows</translation>
    </message>
    <message numerus="yes">
        <source>  删除 %1: %Ln 条记录</source>
        <translation>
            <numerusform>  Deleted %1: %Ln row</numerusform>
            <numerusform>  Deleted %1: %Ln rows</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CharacterPurge::TrailingUndoReader</name>
    <message>
        <source>撤销文件读取失败: %1</source>
        <translation>Reading the undo file failed: %1</translation>
    </message>
</context>
<context>
    <name>CharacterQueries</name>
    <message>
        <source>CharGUID必须是正整数
支持格式: 11001234 或 A7DD92 或 0xA7DD92</source>
        <translation>CharGUID must be a positive whole number
Accepted: 11001234, A7DD92 or 0xA7DD92</translation>
    </message>
</context>
<context>
    <name>CharacterTableModel</name>
    <message>
        <source>角色名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>门派</source>
        <translation>Sect</translation>
    </message>
    <message>
        <source>等级</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>元宝</source>
        <translation>Yuanbao</translation>
    </message>
    <message>
        <source>绑元宝</source>
        <translation>Bound yuanbao</translation>
    </message>
    <message>
        <source>金币</source>
        <translation>Gold</translation>
    </message>
    <message>
        <source>交子</source>
        <translation>Jiaozi</translation>
    </message>
    <message>
        <source>武道点</source>
        <translation>Wudao</translation>
    </message>
    <message>
        <source>地图ID</source>
        <translation>Map ID</translation>
    </message>
    <message>
        <source>少林</source>
        <translation>Shaolin</translation>
    </message>
    <message>
        <source>明教</source>
        <translation>Ming Cult</translation>
    </message>
    <message>
        <source>丐帮</source>
        <translation>Beggars&apos; Sect</translation>
    </message>
    <message>
        <source>武当</source>
        <translation>Wudang</translation>
    </message>
    <message>
        <source>峨眉</source>
        <translation>Emei</translation>
    </message>
    <message>
        <source>星宿</source>
        <translation>Xingxiu</translation>
    </message>
    <message>
        <source>天龙</source>
        <translation>Tianlong</translation>
    </message>
    <message>
        <source>天山</source>
        <translation>Tianshan</translation>
    </message>
    <message>
        <source>逍遥</source>
        <translation>Xiaoyao</translation>
    </message>
    <message>
        <source>无门派</source>
        <translation>No sect</translation>
    </message>
    <message>
        <source>曼陀</source>
        <translation>Mantuo</translation>
    </message>
</context>
<context>
    <name>CharacterTables</name>
    <message>
        <source>技能</source>
        <translation>skills</translation>
    </message>
    <message>
        <source>心法</source>
        <translation>xinfa</translation>
    </message>
    <message>
        <source>生活技能</source>
        <translation>life skills</translation>
    </message>
    <message>
        <source>秘籍</source>
        <translation>secret arts</translation>
    </message>
    <message>
        <source>天赋</source>
        <translation>talents</translation>
    </message>
    <message>
        <source>传送点</source>
        <translation>teleport points</translation>
    </message>
    <message>
        <source>商店记录</source>
        <translation>shop records</translation>
    </message>
    <message>
        <source>声望</source>
        <translation>reputation</translation>
    </message>
    <message>
        <source>发色</source>
        <translation>hair colour</translation>
    </message>
    <message>
        <source>武器外观</source>
        <translation>weapon looks</translation>
    </message>
    <message>
        <source>染色</source>
        <translation>dyes</translation>
    </message>
    <message>
        <source>外观</source>
        <translation>looks</translation>
    </message>
</context>
<context>
    <name>CharacterTransfer</name>
    <message>
        <source>更新t_char失败: %1</source>
        <translation>Updating t_char failed: %1</translation>
    </message>
    <message>
        <source>未找到要转移的角色</source>
        <translation>The character to transfer was not found</translation>
    </message>
    <message>
        <source>警告: 未找到要转移的角色</source>
        <translation>Warning: the character to transfer was not found</translation>
    </message>
    <message>
        <source>✓ t_char更新成功 (影响%1行)</source>
        <translation>✓ t_char updated (%1 rows)</translation>
    </message>
    <message>
        <source>装备</source>
        <translation>equipment</translation>
    </message>
    <message>
        <source>时装</source>
        <translation>fashion</translation>
    </message>
    <message>
        <source>珍兽装备</source>
        <translation>pet equipment</translation>
    </message>
    <message>
        <source>跳过 %1: 表不存在</source>
        <translation>Skipped %1: the table does not exist</translation>
    </message>
    <message>
        <source>更新%1失败: %2</source>
        <translation>Updating %1 failed: %2</translation>
    </message>
    <message>
        <source>✓ %1更新成功 (影响%2行%3)</source>
        <translation>✓ %1 updated (%2 rows%3)</translation>
    </message>
    <message>
        <source>WorldID %1 不存在，已知的 WorldID: %2</source>
        <translation>WorldID %1 does not exist; the known WorldIDs: %2</translation>
    </message>
    <message>
        <source>开始转移角色 CharGUID=%1 -&gt; WorldID=%2</source>
        <translation>Transferring character CharGUID=%1 -&gt; WorldID=%2</translation>
    </message>
    <message>
        <source>转移角色 CharGUID %1 到 WorldID %2</source>
        <translation>Transfer character CharGUID %1 to WorldID %2</translation>
    </message>
    <message>
        <source>角色转移失败，已回滚所有更改

%1</source>
        <translation>The transfer failed, every change was rolled back

%1</translation>
    </message>
    <message>
        <source>角色转移失败，已回滚所有更改</source>
        <translation>The transfer failed, every change was rolled back</translation>
    </message>
    <message>
        <source>撤销文件: %1</source>
        <translation>Undo file: %1</translation>
    </message>
    <message>
        <source>===== 角色转移成功 =====</source>
        <translation>===== Character transferred =====</translation>
    </message>
    <message>
        <source>CharGUID=%1 已转移到 WorldID=%2</source>
        <translation>CharGUID=%1 moved to WorldID=%2</translation>
    </message>
    <message>
        <source>共更新 1 条主表记录及相关装备数据</source>
        <translation>Updated 1 character row and its items</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>账号名（list: 包含的文字）</source>
        <translation>Account name (list: text it contains)</translation>
    </message>
    <message>
        <source>points: 对所有账号</source>
        <translation>points: for every account</translation>
    </message>
    <message>
        <source>points: 设为这个点数</source>
        <translation>points: set to this number</translation>
    </message>
    <message>
        <source>points --all: 每个账号加这么多点</source>
        <translation>points --all: add this many to every account</translation>
    </message>
    <message>
        <source>points --all: 清零</source>
        <translation>points --all: set to zero</translation>
    </message>
    <message>
        <source>从 SQL 文件恢复角色数据库（需 --yes）</source>
        <translation>Restore the character database from an SQL file (needs --yes)</translation>
    </message>
    <message>
        <source>把角色数据库备份为 SQL 文件</source>
        <translation>Back up the character database into an SQL file</translation>
    </message>
    <message>
        <source>SQL 文件</source>
        <translation>SQL file</translation>
    </message>
    <message>
        <source>角色: list|search|show 查看，copy|transfer|delete|repair|set 修改（需 --yes）</source>
        <translation>Characters: list|search|show to view; copy|transfer|delete|repair|set to change (needs --yes)</translation>
    </message>
    <message>
        <source>list: WorldID 列表，如 2,3</source>
        <translation>list: WorldIDs, e.g. 2,3</translation>
    </message>
    <message>
        <source>角色的 CharGUID（十进制，或游戏显示的十六进制）</source>
        <translation>The character&apos;s CharGUID (decimal, or the hexadecimal the game shows)</translation>
    </message>
    <message>
        <source>search: 角色名包含的文字；copy: 副本的名字（不给则随机）</source>
        <translation>search: text in the character name; copy: the copy&apos;s name (random when not given)</translation>
    </message>
    <message>
        <source>search: 账号包含的文字；copy: 副本所属账号</source>
        <translation>search: text in the account; copy: the copy&apos;s account</translation>
    </message>
    <message>
        <source>transfer: 目标 WorldID</source>
        <translation>transfer: the target WorldID</translation>
    </message>
    <message>
        <source>search: 最多显示的角色数（默认 500）</source>
        <translation>search: the most characters to show (default 500)</translation>
    </message>
    <message>
        <source>用法: quorvel-cli &lt;命令&gt; [选项]

命令:
</source>
        <translation>Usage: quorvel-cli &lt;command&gt; [options]

Commands:
</translation>
    </message>
    <message>
        <source>未知命令 &quot;%1&quot;，可用: %2</source>
        <translation>Unknown command &quot;%1&quot;; there are: %2</translation>
    </message>
    <message>
        <source>用法: quorvel-cli %1 [选项]</source>
        <translation>Usage: quorvel-cli %1 [options]</translation>
    </message>
    <message>
        <source>多余的参数 &quot;%1&quot;</source>
        <translation>Unexpected arguments &quot;%1&quot;</translation>
    </message>
    <message>
        <source>真正执行（不加时只预演，不做修改）</source>
        <translation>Run it (without: only rehearse, change nothing)</translation>
    </message>
    <message>
        <source>不写撤销文件（已另做完整备份时）</source>
        <translation>Write no undo file (when a full backup was made)</translation>
    </message>
    <message>
        <source>host_configs.json 中的主机名称</source>
        <translation>Host name in host_configs.json</translation>
    </message>
    <message>
        <source>不用主机配置时: 服务器地址</source>
        <translation>Without a host entry: the server</translation>
    </message>
    <message>
        <source>不用主机配置时: 用户名</source>
        <translation>Without a host entry: the user</translation>
    </message>
    <message>
        <source>从标准输入读取密码（一行）</source>
        <translation>Read the password from standard input (one line)</translation>
    </message>
    <message>
        <source>把结果作为一个 JSON 对象输出到标准输出（日志改到标准错误）</source>
        <translation>Print the result as one JSON object on standard output (the log goes to standard error)</translation>
    </message>
    <message>
        <source>把区服的角色列表导出为 CSV</source>
        <translation>Export the characters of worlds as CSV</translation>
    </message>
    <message>
        <source>CSV 文件</source>
        <translation>CSV file</translation>
    </message>
    <message>
        <source>WorldID 列表，如 2,3</source>
        <translation>WorldIDs, e.g. 2,3</translation>
    </message>
    <message>
        <source>跨服合区（需 --yes）</source>
        <translation>Merge worlds across servers (needs --yes)</translation>
    </message>
    <message>
        <source>主区（目标）WorldID</source>
        <translation>Main (target) WorldID</translation>
    </message>
    <message>
        <source>副区（来源）WorldID</source>
        <translation>Sub (source) WorldID</translation>
    </message>
    <message>
        <source>先删除等级 ≤ N 的角色（1-150）</source>
        <translation>First delete characters of level ≤ N (1-150)</translation>
    </message>
    <message>
        <source>主服（目标）的主机名称</source>
        <translation>Host name of the main (target) server</translation>
    </message>
    <message>
        <source>副服（来源）的主机名称</source>
        <translation>Host name of the sub (source) server</translation>
    </message>
    <message>
        <source>重名角色的后缀（默认 _S2）</source>
        <translation>Suffix for clashing character names (default _S2)</translation>
    </message>
    <message>
        <source>重名账号的后缀（默认 _S2）</source>
        <translation>Suffix for clashing account names (default _S2)</translation>
    </message>
    <message>
        <source>不合并账号</source>
        <translation>Do not merge accounts</translation>
    </message>
    <message>
        <source>合区前备份主服</source>
        <translation>Back up the main server before merging</translation>
    </message>
    <message>
        <source>主服必填而副服没有的字段，填入游戏为新角色写入的值</source>
        <translation>Fill columns the main server requires and the sub server lacks with the values the game writes for new characters</translation>
    </message>
    <message>
        <source>主服似乎已合并过这些角色时仍然合并（需同时加 --yes）</source>
        <translation>Merge even where the main server seems to hold these characters already (with --yes)</translation>
    </message>
    <message>
        <source>主机配置中没有密码时，从标准输入读取（每个一行，先主服）</source>
        <translation>Read the passwords the host entries lack from standard input (one per line, main first)</translation>
    </message>
    <message>
        <source>同服合区（需 --yes）</source>
        <translation>Merge worlds on one server (needs --yes)</translation>
    </message>
    <message>
        <source>独立账号库: 主区的账号数据库</source>
        <translation>Separate account databases: the main world&apos;s</translation>
    </message>
    <message>
        <source>独立账号库: 副区的账号数据库</source>
        <translation>Separate account databases: the sub world&apos;s</translation>
    </message>
    <message>
        <source>重名账号的后缀</source>
        <translation>Suffix for clashing account names</translation>
    </message>
    <message>
        <source>执行撤销文件 FILE，放回操作改动的数据（需 --yes）</source>
        <translation>Run the undo file FILE, putting back what the operation changed (needs --yes)</translation>
    </message>
    <message>
        <source>list: 以 JSON 输出</source>
        <translation>list: print JSON</translation>
    </message>
    <message>
        <source>删除区服的全部角色及其账号（需 --yes）</source>
        <translation>Delete every character of worlds and their accounts (needs --yes)</translation>
    </message>
    <message>
        <source>同时清理的账号数据库，如 web,web2</source>
        <translation>Account databases to clean as well, e.g. web,web2</translation>
    </message>
    <message>
        <source>列出 WorldID 及其角色数</source>
        <translation>List the WorldIDs and their characters</translation>
    </message>
    <message>
        <source>WorldID	角色数
</source>
        <translation>WorldID	characters
</translation>
    </message>
    <message>
        <source>
各命令的选项: quorvel-cli &lt;命令&gt; --help
退出码: 0 成功，1 操作失败，2 用法错误。会修改数据的命令不加 --yes 时只做预演。
--version 显示版本；--lang zh_CN|en 选择语言（默认跟随系统）。
</source>
        <translation>
Options of a command: quorvel-cli &lt;command&gt; --help
Exit codes: 0 success, 1 the operation failed, 2 wrong usage. Commands that change data only rehearse without --yes.
--version shows the version; --lang zh_CN|en chooses the language (by default the system&apos;s).
</translation>
    </message>
    <message>
        <source>文件写于的服务器已迁移到这里（标识不同）时，确认后仍执行</source>
        <translation>run it although the server differs from the one the file was written on: that server was moved here</translation>
    </message>
    <message>
        <source>不用主机配置时: 角色数据库（默认 vexadb_main）</source>
        <translation>without a host entry: the character database (default vexadb_main)</translation>
    </message>
    <message>
        <source>不用主机配置时: 同一服务器上的账号库（默认 web）</source>
        <translation>without a host entry: the account database on the same server (default web)</translation>
    </message>
    <message>
        <source>账号: list 查看，register|points|delete 修改（需 --yes）；不用主机配置时账号库由 --accounts-database（或 --database）指定</source>
        <translation>Accounts: list to look, register|points|delete to change (with --yes); without a host entry --accounts-database (or --database) names the account database</translation>
    </message>
    <message>
        <source>预演给出的合区计划；服务器在此之后有变化时不做任何修改</source>
        <translation>the merge plan a rehearsal printed; when the servers changed since, nothing is changed</translation>
    </message>
    <message>
        <source>依次备份主机配置中每个主机的角色库和账号库，文件以主机和数据库命名</source>
        <translation>Back up the character and account databases of every host entry, one after the other, into files named after the entry and the database</translation>
    </message>
    <message>
        <source>--all: 每个主机的每个数据库只保留最新的 N 个完整备份（N ≥ 1）</source>
        <translation>--all: keep only the newest N whole backups of each entry&apos;s database (N ≥ 1)</translation>
    </message>
    <message>
        <source>--all: 把每个备份的结果作为一个 JSON 对象输出到标准输出（日志改到标准错误）</source>
        <translation>--all: print the result of every backup as one JSON object on standard output (the log goes to standard error)</translation>
    </message>
    <message>
        <source>删除已执行的撤销文件和早于 --older-than 天的撤销文件（需 --yes；其后可列出要删除的文件）</source>
        <translation>Remove applied undo files and undo files older than --older-than days (needs --yes; files to remove may follow)</translation>
    </message>
    <message>
        <source>prune: 也删除早于 DAYS 天的撤销文件（每个数据库最新的一个除外）</source>
        <translation>prune: also remove undo files older than DAYS days (except the newest of each database)</translation>
    </message>
    <message>
        <source>压缩为 .sql.gz（边备份边压缩，磁盘上不留未压缩的文件）</source>
        <translation>Compress into .sql.gz while the backup runs (no uncompressed file on disk)</translation>
    </message>
</context>
<context>
    <name>Cli::AccountCommand</name>
    <message>
        <source>points 需要 --name NAME --set N，或 --all 加 --set N、--add N、--clear 之一</source>
        <translation>points needs --name NAME --set N, or --all with one of --set N, --add N, --clear</translation>
    </message>
    <message>
        <source>点数需要非负整数（--add 可为负），而不是 &quot;%1&quot;</source>
        <translation>Points need a whole number of 0 or more (--add may be negative), not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 需要 --name</source>
        <translation>%1 needs --name</translation>
    </message>
    <message>
        <source>账号 %1 的密码: </source>
        <translation>Password of account %1: </translation>
    </message>
    <message>
        <source>register 需要新账号的密码（标准输入的下一行）</source>
        <translation>register needs the new account&apos;s password (the next line of standard input)</translation>
    </message>
    <message>
        <source>无法连接账号数据库 %1: %2</source>
        <translation>Cannot connect to the account database %1: %2</translation>
    </message>
    <message>
        <source>账号数据库: %1</source>
        <translation>Account database: %1</translation>
    </message>
    <message>
        <source>将改动 account: %1 条记录</source>
        <translation>Will change account: %1 rows</translation>
    </message>
    <message>
        <source>操作失败: %1</source>
        <translation>Operation failed: %1</translation>
    </message>
    <message>
        <source>操作完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>查询失败: %1</source>
        <translation>Query failed: %1</translation>
    </message>
    <message numerus="yes">
        <source>共 %Ln 个账号</source>
        <translation>
            <numerusform>%Ln account</numerusform>
            <numerusform>%Ln accounts</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Cli::ActionCommand</name>
    <message>
        <source>需要一个动作: %1</source>
        <translation>An action is needed: %1</translation>
    </message>
    <message>
        <source>多余的参数 &quot;%1&quot;</source>
        <translation>Unexpected arguments &quot;%1&quot;</translation>
    </message>
    <message>
        <source>未知的动作 &quot;%1&quot;，可用: %2</source>
        <translation>Unknown action &quot;%1&quot;; available: %2</translation>
    </message>
</context>
<context>
    <name>Cli::CharacterCommand</name>
    <message>
        <source>%1 需要 --guid（正整数，或 0x 开头的十六进制）</source>
        <translation>%1 needs --guid (a positive number, or hexadecimal starting with 0x)</translation>
    </message>
    <message>
        <source>search 需要 --name 或 --account 之一</source>
        <translation>search needs --name or --account</translation>
    </message>
    <message>
        <source>transfer 需要 --to-world</source>
        <translation>transfer needs --to-world</translation>
    </message>
    <message>
        <source>copy 需要 --account</source>
        <translation>copy needs --account</translation>
    </message>
    <message>
        <source>查询失败: %1</source>
        <translation>Query failed: %1</translation>
    </message>
    <message>
        <source>角色不存在: CharGUID %1</source>
        <translation>No such character: CharGUID %1</translation>
    </message>
    <message>
        <source>（已截断）</source>
        <translation> (cut short)</translation>
    </message>
    <message>
        <source>角色: %1 (CharGUID %2, WorldID %3)</source>
        <translation>Character: %1 (CharGUID %2, WorldID %3)</translation>
    </message>
    <message>
        <source>检查失败: %1</source>
        <translation>Check failed: %1</translation>
    </message>
    <message>
        <source>副本名: %1</source>
        <translation>Name of the copy: %1</translation>
    </message>
    <message>
        <source>副本: %1 (CharGUID %2)</source>
        <translation>Copy: %1 (CharGUID %2)</translation>
    </message>
    <message>
        <source>操作失败: %1</source>
        <translation>Operation failed: %1</translation>
    </message>
    <message>
        <source>未知错误</source>
        <translation>unknown error</translation>
    </message>
    <message>
        <source>操作完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>副本名: 执行时随机生成一个未被占用的名字（用 --name 指定）</source>
        <translation>Copy&apos;s name: a free one is drawn when the copy runs (or give --name)</translation>
    </message>
    <message>
        <source>set 的字段与新值，可多个；可改的字段: %1</source>
        <translation>set: the fields and their new values, one or more; the fields: %1</translation>
    </message>
    <message numerus="yes">
        <source>共 %Ln 个角色%1</source>
        <translation>
            <numerusform>%Ln character%1</numerusform>
            <numerusform>%Ln characters%1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Cli::Command</name>
    <message>
        <source>缺少 --%1</source>
        <translation>--%1 is missing</translation>
    </message>
    <message>
        <source>--%1: &quot;%2&quot; 不是有效的 WorldID</source>
        <translation>--%1: &quot;%2&quot; is not a valid WorldID</translation>
    </message>
    <message>
        <source>--%1: 需要至少一个 WorldID</source>
        <translation>--%1: at least one WorldID is needed</translation>
    </message>
    <message>
        <source>--%1: 只能给一个 WorldID</source>
        <translation>--%1: only one WorldID is allowed</translation>
    </message>
    <message>
        <source>主机配置中没有 &quot;%1&quot; (%2)</source>
        <translation>The host list has no &quot;%1&quot; (%2)</translation>
    </message>
    <message>
        <source>预演完成，未做任何修改。确认无误后加 --yes 执行。</source>
        <translation>Rehearsal done, nothing was changed. Add --yes to run it.</translation>
    </message>
    <message>
        <source>撤销文件: %1</source>
        <translation>Undo file: %1</translation>
    </message>
</context>
<context>
    <name>Cli::MergeCommand</name>
    <message>
        <source>merge 需要 --main NAME 和 --sub NAME</source>
        <translation>merge needs --main NAME and --sub NAME</translation>
    </message>
    <message>
        <source>主区</source>
        <translation>main</translation>
    </message>
    <message>
        <source>副区</source>
        <translation>sub</translation>
    </message>
    <message>
        <source>%1 (%2@%3) 的密码: </source>
        <translation>Password of %1 (%2@%3): </translation>
    </message>
    <message>
        <source>将把 %1 的 WorldID %2 合入 %3 的 WorldID %4:</source>
        <translation>Merging WorldID %2 of %1 into WorldID %4 of %3:</translation>
    </message>
    <message>
        <source>要再次合并，需同时加 --yes --again。</source>
        <translation>To merge again, add both --yes and --again.</translation>
    </message>
    <message>
        <source>合区计划: %1（加 --yes --plan %1 只执行这个计划：服务器在此之后有变化时不做任何修改）</source>
        <translation>Merge plan: %1 (with --yes --plan %1 only this plan runs: when the servers changed since, nothing is changed)</translation>
    </message>
</context>
<context>
    <name>Cli::MergeSameCommand</name>
    <message>
        <source>--sub-world 与 --main-world 不能相同</source>
        <translation>--sub-world and --main-world must differ</translation>
    </message>
    <message>
        <source>--main-accounts 和 --sub-accounts 需同时给出有效的数据库名</source>
        <translation>--main-accounts and --sub-accounts must both name valid databases</translation>
    </message>
    <message>
        <source>独立账号库需要 --suffix TEXT（重名账号的后缀）</source>
        <translation>Separate account databases need --suffix TEXT (for clashing account names)</translation>
    </message>
</context>
<context>
    <name>Cli::ServerCommand</name>
    <message>
        <source>--server: 需要 HOST:PORT，收到 &quot;%1&quot;</source>
        <translation>--server: HOST:PORT is needed, got &quot;%1&quot;</translation>
    </message>
    <message>
        <source>命令行</source>
        <translation>command line</translation>
    </message>
    <message>
        <source>%1@%2 的密码: </source>
        <translation>Password of %1@%2: </translation>
    </message>
    <message>
        <source>需要 --host NAME 或 --server HOST:PORT</source>
        <translation>--host NAME or --server HOST:PORT is needed</translation>
    </message>
    <message>
        <source>服务器</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>连接数据库失败: %1:%2/%3: %4</source>
        <translation>Connecting failed: %1:%2/%3: %4</translation>
    </message>
    <message>
        <source>%1 需要 --worlds 1,2,...</source>
        <translation>%1 needs --worlds 1,2,...</translation>
    </message>
    <message>
        <source>--host 不能与 --server/--user/--database/--accounts-database 同时使用：只能用一种方式指定服务器</source>
        <translation>--host cannot be used with --server/--user/--database/--accounts-database: name the server one way only</translation>
    </message>
    <message>
        <source>注意：没有密码（主机配置中没有，也没有 --password-stdin），以空密码连接 %1</source>
        <translation>Note: no password (none in the host list, no --password-stdin); connecting to %1 with an empty one</translation>
    </message>
</context>
<context>
    <name>Cli::ToolCommand</name>
    <message>
        <source>restore 需要 --file PATH</source>
        <translation>restore needs --file PATH</translation>
    </message>
    <message>
        <source>备份文件不存在: %1</source>
        <translation>The backup file does not exist: %1</translation>
    </message>
    <message>
        <source>将用 %1 (%2 字节) 恢复数据库 %3，各表现有行数与文件中的行数:</source>
        <translation>Restoring database %3 from %1 (%2 bytes); rows of each table now and in the file:</translation>
    </message>
    <message>
        <source>--keep 需要正整数，而不是 &quot;%1&quot;</source>
        <translation>--keep needs a positive whole number, not &quot;%1&quot;</translation>
    </message>
    <message>
        <source>主机配置中没有主机 (%1)</source>
        <translation>The host list has no entries (%1)</translation>
    </message>
    <message>
        <source>%1: 主机配置中没有 %2 的密码，跳过</source>
        <translation>%1: the host list has no password for %2; skipped</translation>
    </message>
    <message>
        <source>备份成功: %1 %2 → %3（删除旧备份 %4 个）</source>
        <translation>Backed up: %1 %2 → %3 (%4 older backups removed)</translation>
    </message>
    <message>
        <source>备份失败: %1 %2</source>
        <translation>Backup failed: %1 %2</translation>
    </message>
    <message>
        <source>备份完成: %1 个成功，%2 个失败</source>
        <translation>Backups done: %1 succeeded, %2 failed</translation>
    </message>
    <message>
        <source>--gzip 的文件名需以 .gz 结尾: %1</source>
        <translation>With --gzip the file name must end in .gz: %1</translation>
    </message>
</context>
<context>
    <name>Cli::UndoCommand</name>
    <message>
        <source>撤销文件（backups/undo/ 下）；list 列出尚未执行的撤销文件</source>
        <translation>The undo file (under backups/undo/); list shows the undo files not yet run</translation>
    </message>
    <message>
        <source>undo 需要一个撤销文件，或 list</source>
        <translation>undo needs an undo file, or list</translation>
    </message>
    <message>
        <source>%1 不是撤销文件</source>
        <translation>%1 is not an undo file</translation>
    </message>
    <message>
        <source>撤销文件不存在: %1</source>
        <translation>The undo file does not exist: %1</translation>
    </message>
    <message>
        <source>撤销完成: %1</source>
        <translation>Undo done: %1</translation>
    </message>
    <message>
        <source>确认这就是文件写于的服务器（迁移过）后，可加 --server-moved 执行</source>
        <translation>Once sure that this is the server the file was written on (moved), run it with --server-moved</translation>
    </message>
    <message>
        <source>检查通过：文件完整，服务器是写入时的那台，数据仍是操作后的样子，要放回的角色ID都空闲</source>
        <translation>Check passed: the file is whole, this is the server it was written on, the data is still as the operation left it, and the character IDs to put back are free</translation>
    </message>
    <message>
        <source>--older-than 需要天数（非负整数）</source>
        <translation>--older-than needs a number of days (a whole number, 0 or more)</translation>
    </message>
    <message>
        <source>  %1（已执行，%2 字节）</source>
        <translation>  %1 (applied, %2 bytes)</translation>
    </message>
    <message>
        <source>  %1（%2 字节）</source>
        <translation>  %1 (%2 bytes)</translation>
    </message>
    <message>
        <source>共 %1 个撤销文件，%2 字节</source>
        <translation>%1 undo files, %2 bytes</translation>
    </message>
    <message>
        <source>没有尚未执行的撤销文件（%1）</source>
        <translation>No undo files that have not been applied (%1)</translation>
    </message>
    <message numerus="yes">
        <source>已删除 %Ln 个撤销文件</source>
        <translation>
            <numerusform>Removed %Ln undo file</numerusform>
            <numerusform>Removed %Ln undo files</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Cli::WipeCommand</name>
    <message>
        <source>将删除 zoneworldid IN (%1) 的角色数据:</source>
        <translation>Will delete the characters of zoneworldid IN (%1):</translation>
    </message>
    <message>
        <source>账号删除失败：%1 个角色已删除，账号未全部删除（见上）</source>
        <translation>Deleting the accounts failed: %1 characters were deleted, not all their accounts (see above)</translation>
    </message>
    <message>
        <source>--accounts: &quot;%1&quot; 不是有效的数据库名</source>
        <translation>--accounts: &quot;%1&quot; is not a valid database name</translation>
    </message>
    <message>
        <source>--accounts: 服务器上没有账号数据库 &quot;%1&quot;</source>
        <translation>--accounts: the server has no account database &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>CollationKeys</name>
    <message>
        <source>表 %1 没有字段 %2</source>
        <translation>Table %1 has no column %2</translation>
    </message>
    <message>
        <source>字段 %1.%2 的字符集无法识别: %3</source>
        <translation>The character set of column %1.%2 is not known: %3</translation>
    </message>
</context>
<context>
    <name>CommitCheck</name>
    <message>
        <source>提交未到达服务器的连接 %1 仍持有事务，已结束它</source>
        <translation>Connection %1, whose COMMIT never reached the server, still held its transaction; it was ended</translation>
    </message>
    <message>
        <source>服务器 20 秒内没有结束原来的连接 %1</source>
        <translation>The server did not end the lost connection %1 within 20 seconds</translation>
    </message>
    <message>
        <source>服务器拒绝了提交，事务已回滚</source>
        <translation>the server refused the COMMIT; the transaction was rolled back</translation>
    </message>
    <message>
        <source>无法重新连接服务器: %1</source>
        <translation>cannot connect to the server again: %1</translation>
    </message>
    <message>
        <source>重新连接到的不是原来的服务器（%1，原来是 %2）</source>
        <translation>the connection reached another server (%1, not %2)</translation>
    </message>
    <message>
        <source>没有可以判断的数据</source>
        <translation>no data tells</translation>
    </message>
    <message>
        <source>%1 项数据中 %2 项是提交后的样子、%3 项是提交前的样子，其余已被改动</source>
        <translation>of %1 checks, %2 show the data as committed, %3 as before; the others were changed since</translation>
    </message>
</context>
<context>
    <name>ConnectionRule</name>
    <message>
        <source>无法设置会话的 sql_mode: %1</source>
        <translation>Cannot set the session&apos;s sql_mode: %1</translation>
    </message>
    <message>
        <source>%1（已尝试的 ODBC 驱动: %2）</source>
        <translation>%1 (ODBC drivers tried: %2)</translation>
    </message>
    <message>
        <source>%1（没有安装 MySQL ODBC 驱动，已尝试: %2）</source>
        <translation>%1 (no MySQL ODBC driver installed; tried: %2)</translation>
    </message>
</context>
<context>
    <name>DatabaseManager</name>
    <message>
        <source>停止数据库心跳保活</source>
        <translation>Database keep-alive stopped</translation>
    </message>
    <message>
        <source>正在%1，请等它结束后再操作</source>
        <translation>%1 is running; wait until it ends</translation>
    </message>
    <message>
        <source>无法连接数据库：%1</source>
        <translation>Cannot connect to the database: %1</translation>
    </message>
    <message>
        <source>无法连接数据库，最后错误：%1</source>
        <translation>Cannot connect to the database, last error: %1</translation>
    </message>
    <message>
        <source>心跳查询失败: %1</source>
        <translation>Keep-alive query failed: %1</translation>
    </message>
    <message>
        <source>连接已断开，尝试重连...</source>
        <translation>The connection was lost, reconnecting...</translation>
    </message>
    <message>
        <source>未连接到数据库</source>
        <translation>Not connected to a database</translation>
    </message>
    <message>
        <source>无法连接服务器 %1: %2</source>
        <translation>Cannot connect to the server %1: %2</translation>
    </message>
    <message>
        <source>执行数据库重连...</source>
        <translation>Reconnecting to the database...</translation>
    </message>
    <message>
        <source>数据库重连成功</source>
        <translation>Reconnected to the database</translation>
    </message>
    <message>
        <source>数据库重连失败</source>
        <translation>Reconnecting to the database failed</translation>
    </message>
    <message>
        <source>启动数据库心跳保活，间隔: %1ms</source>
        <translation>Database keep-alive started, every %1 ms</translation>
    </message>
    <message>
        <source>心跳检测失败，尝试重连...</source>
        <translation>Keep-alive check failed, reconnecting...</translation>
    </message>
    <message>
        <source>自动重连成功</source>
        <translation>Reconnected automatically</translation>
    </message>
    <message>
        <source>自动重连失败</source>
        <translation>Reconnecting automatically failed</translation>
    </message>
    <message>
        <source>queryCharacters: 数据库未连接</source>
        <translation>queryCharacters: not connected to the database</translation>
    </message>
    <message>
        <source>queryCharacters: SQL 执行失败 - %1</source>
        <translation>queryCharacters: the SQL failed - %1</translation>
    </message>
    <message>
        <source>获取角色统计失败: </source>
        <translation>Reading the character counts failed: </translation>
    </message>
    <message>
        <source>

请检查：
1. MySQL ODBC 驱动是否安装
2. 数据库连接信息是否正确
3. MySQL 服务是否运行</source>
        <translation>

Please check:
1. whether the MySQL ODBC driver is installed
2. whether the connection settings are right
3. whether the MySQL server is running</translation>
    </message>
</context>
<context>
    <name>DatabaseTool</name>
    <message>
        <source>备份</source>
        <translation>Backup</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>无法连接 %1:%2，无法统计现有行数: %3</source>
        <translation>Cannot connect to %1:%2 to count its rows: %3</translation>
    </message>
</context>
<context>
    <name>HostConfigDialog</name>
    <message>
        <source>主机配置管理</source>
        <translation>Hosts</translation>
    </message>
    <message>
        <source>管理数据库连接配置</source>
        <translation>The database connections</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
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
        <source>新配置</source>
        <translation>New host</translation>
    </message>
    <message>
        <source>确认删除</source>
        <translation>Confirm deletion</translation>
    </message>
    <message>
        <source>确定要删除配置 &quot;%1&quot; 吗？</source>
        <translation>Delete the host &quot;%1&quot;?</translation>
    </message>
    <message>
        <source>添加配置</source>
        <translation>Add host</translation>
    </message>
    <message>
        <source>编辑配置</source>
        <translation>Edit host</translation>
    </message>
    <message>
        <source>角色数据库配置</source>
        <translation>Character database</translation>
    </message>
    <message>
        <source>配置名称:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>主机地址:</source>
        <translation>Host:</translation>
    </message>
    <message>
        <source>端口:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>用户名:</source>
        <translation>User:</translation>
    </message>
    <message>
        <source>密码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>数据库:</source>
        <translation>Database:</translation>
    </message>
    <message>
        <source>账号数据库配置</source>
        <translation>Account database</translation>
    </message>
    <message>
        <source>同角色数据库</source>
        <translation>Same as the character database</translation>
    </message>
    <message>
        <source>测试连接</source>
        <translation>Test connection</translation>
    </message>
    <message>
        <source>正在连接…</source>
        <translation>Connecting…</translation>
    </message>
    <message>
        <source>%1 %2: 连接成功</source>
        <translation>%1 %2: connected</translation>
    </message>
    <message>
        <source>%1 %2: 连接失败: %3</source>
        <translation>%1 %2: connection failed: %3</translation>
    </message>
    <message>
        <source>角色数据库</source>
        <translation>Character database</translation>
    </message>
    <message>
        <source>账号数据库</source>
        <translation>Account database</translation>
    </message>
</context>
<context>
    <name>HostStore</name>
    <message>
        <source>本地数据库</source>
        <translation>Local database</translation>
    </message>
    <message>
        <source>警告: 主机配置文件 %1 含有密码，但其他用户也能读取它；请执行 chmod 600 %1，或在主机配置中保存一次</source>
        <translation>Warning: the host file %1 holds passwords, and other users can read it; run chmod 600 %1, or save the host list once</translation>
    </message>
</context>
<context>
    <name>ItemConfigManager</name>
    <message>
        <source>未知物品(ID:%1)</source>
        <translation>Unknown item (ID:%1)</translation>
    </message>
</context>
<context>
    <name>LogPanel</name>
    <message>
        <source>操作日志</source>
        <translation>Log</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>数据库连接</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>数据库配置</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>管理配置</source>
        <translation>Hosts...</translation>
    </message>
    <message>
        <source>● 未连接</source>
        <translation>● Not connected</translation>
    </message>
    <message>
        <source>连接数据库</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>测试连接</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>备份数据库</source>
        <translation>Back up</translation>
    </message>
    <message>
        <source>恢复数据库</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>功能入口</source>
        <translation>Tools</translation>
    </message>
    <message>
        <source>主机配置保存失败: %1</source>
        <translation>Saving the host list failed: %1</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>主机配置未能保存，文件保持原样：
%1

%2</source>
        <translation>The host list could not be saved; the file is as it was:
%1

%2</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请先连接数据库！</source>
        <translation>Connect to a database first!</translation>
    </message>
    <message>
        <source>测试连接...</source>
        <translation>Testing the connection...</translation>
    </message>
    <message>
        <source>连接测试成功!</source>
        <translation>Connection test passed!</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>数据库连接测试成功!</source>
        <translation>The database connection works!</translation>
    </message>
    <message>
        <source>连接测试失败</source>
        <translation>Connection test failed</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>数据库连接测试失败,请检查配置</source>
        <translation>The database connection test failed; check the settings</translation>
    </message>
    <message>
        <source>已断开连接</source>
        <translation>Disconnected</translation>
    </message>
    <message>
        <source>正在连接...</source>
        <translation>Connecting...</translation>
    </message>
    <message>
        <source>● 正在连接…</source>
        <translation>● Connecting…</translation>
    </message>
    <message>
        <source>连接成功: %1</source>
        <translation>Connected: %1</translation>
    </message>
    <message>
        <source>已启动数据库连接保活</source>
        <translation>Database keep-alive started</translation>
    </message>
    <message>
        <source>连接失败</source>
        <translation>Connection failed</translation>
    </message>
    <message>
        <source>保存备份文件 - %1</source>
        <translation>Save the backup - %1</translation>
    </message>
    <message>
        <source>开始备份数据库...</source>
        <translation>Backing up the database...</translation>
    </message>
    <message>
        <source>备份完成: %1</source>
        <translation>Backup done: %1</translation>
    </message>
    <message>
        <source>备份失败，请检查日志获取详细信息</source>
        <translation>The backup failed; see the log for details</translation>
    </message>
    <message>
        <source>选择备份文件</source>
        <translation>Choose a backup</translation>
    </message>
    <message>
        <source>[ 选择其他备份文件... ]</source>
        <translation>[ Another backup file... ]</translation>
    </message>
    <message>
        <source>请选择要恢复的备份:</source>
        <translation>The backup to restore:</translation>
    </message>
    <message>
        <source>无法恢复</source>
        <translation>Cannot restore</translation>
    </message>
    <message>
        <source>恢复将改动的数据:</source>
        <translation>Data the restore changes:</translation>
    </message>
    <message>
        <source>确认恢复</source>
        <translation>Confirm restore</translation>
    </message>
    <message>
        <source>确认要恢复数据库吗？

目标数据库: %1
服务器: %2
备份文件: %3

⚠️ 警告: 此操作将覆盖当前数据库中的所有数据！
建议先备份当前数据库！</source>
        <translation>Restore the database?

Database: %1
Server: %2
Backup file: %3

⚠️ Warning: this overwrites all data in the database!
Back up the current database first!</translation>
    </message>
    <message>
        <source>  ……（共 %1 个表，见详细信息）</source>
        <translation>  … (%1 tables, see the details)</translation>
    </message>
    <message>
        <source>开始恢复数据库...</source>
        <translation>Restoring the database...</translation>
    </message>
    <message>
        <source>数据库恢复完成: %1

请重新连接数据库以刷新数据。</source>
        <translation>Database restored: %1

Connect again to see the restored data.</translation>
    </message>
    <message>
        <source>数据库恢复失败，请检查日志获取详细信息</source>
        <translation>The restore failed; see the log for details</translation>
    </message>
    <message>
        <source>主机配置已更新</source>
        <translation>Host list updated</translation>
    </message>
    <message>
        <source>正在使用的主机配置 %1 已修改。

当前仍连接在 %2。是否用新的设置重新连接？</source>
        <translation>The host %1 in use was changed.

The session is still connected to %2. Connect again with the new settings?</translation>
    </message>
    <message>
        <source>正在使用的主机配置 %1 已删除。

当前仍连接在 %2。是否断开连接？</source>
        <translation>The host %1 in use was deleted.

The session is still connected to %2. Disconnect?</translation>
    </message>
    <message>
        <source>主机配置已修改</source>
        <translation>Host changed</translation>
    </message>
    <message>
        <source>会话仍连接在 %1，重新连接后才使用新的设置</source>
        <translation>The session is still connected to %1; the new settings apply once it connects again</translation>
    </message>
    <message>
        <source>当前已连接 %1。

切换到 %2 将断开当前连接，确定要切换吗？</source>
        <translation>Connected to %1 now.

Switching to %2 ends this connection. Switch?</translation>
    </message>
    <message>
        <source>切换主机</source>
        <translation>Switch host</translation>
    </message>
    <message>
        <source>请先选择主机配置</source>
        <translation>Choose a host first</translation>
    </message>
    <message>
        <source>打开账号管理: %1@%2:%3/%4</source>
        <translation>Opening the accounts: %1@%2:%3/%4</translation>
    </message>
    <message>
        <source>打开角色管理对话框</source>
        <translation>Opening the characters</translation>
    </message>
    <message>
        <source>打开跨服合区对话框</source>
        <translation>Opening the cross-server merge</translation>
    </message>
    <message>
        <source>打开同服合区对话框</source>
        <translation>Opening the same-server merge</translation>
    </message>
    <message>
        <source>同服合区操作完成</source>
        <translation>Same-server merge finished</translation>
    </message>
    <message>
        <source>打开区服删档对话框</source>
        <translation>Opening the zone wipe</translation>
    </message>
    <message>
        <source>打开撤销记录</source>
        <translation>Opening the undo history</translation>
    </message>
    <message>
        <source>%1。

退出将取消正在进行的操作，确定要退出吗？</source>
        <translation>%1.

Quitting cancels the running operation. Quit?</translation>
    </message>
    <message>
        <source>备份或恢复操作正在进行，退出将中止该操作。

确定要退出吗？</source>
        <translation>A backup or restore is running; quitting stops it.

Quit?</translation>
    </message>
    <message>
        <source>● 已连接</source>
        <translation>● Connected</translation>
    </message>
    <message>
        <source>断开连接</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>界面语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>角色管理</source>
        <translation>Characters</translation>
    </message>
    <message>
        <source>账号管理</source>
        <translation>Accounts</translation>
    </message>
    <message>
        <source>跨服合区</source>
        <translation>Cross-server merge</translation>
    </message>
    <message>
        <source>同服合区</source>
        <translation>Same-server merge</translation>
    </message>
    <message>
        <source>区服删档</source>
        <translation>Zone wipe</translation>
    </message>
    <message>
        <source>撤销记录</source>
        <translation>Undo history</translation>
    </message>
    <message>
        <source>请先关闭其他窗口，再切换界面语言。</source>
        <translation>Close the other windows first, then switch the language.</translation>
    </message>
    <message>
        <source>Quorvel 游戏数据库管理工具 v%1</source>
        <translation>Quorvel game database tool v%1</translation>
    </message>
    <message>
        <source>压缩的 SQL 文件 (*.sql.gz);;SQL 文件 (*.sql)</source>
        <translation>Compressed SQL files (*.sql.gz);;SQL files (*.sql)</translation>
    </message>
    <message>
        <source>SQL 文件 (*.sql *.sql.gz)</source>
        <translation>SQL files (*.sql *.sql.gz)</translation>
    </message>
    <message>
        <source>还没有主机配置（%1）：点“管理配置”添加游戏的服务器；内置的一项指向本机 3306 端口</source>
        <translation>No host list yet (%1): add the game&apos;s servers with “Hosts...”; the built-in entry points at port 3306 of this machine</translation>
    </message>
    <message>
        <source>旧备份</source>
        <translation>Older backups</translation>
    </message>
    <message>
        <source>%1 的数据库 %2 共有 %3 个完整备份。保留最新的几个？更早的将被删除。</source>
        <translation>%1&apos;s database %2 has %3 whole backups. How many of the newest should stay? The older ones are removed.</translation>
    </message>
    <message>
        <source>已删除旧备份: %1</source>
        <translation>Removed older backup: %1</translation>
    </message>
    <message>
        <source>无法删除旧备份: %1</source>
        <translation>Cannot remove older backup: %1</translation>
    </message>
    <message>
        <source>保留最新 %1 个备份，删除了 %2 个</source>
        <translation>Kept the newest %1 backups, removed %2</translation>
    </message>
</context>
<context>
    <name>MergeBackup</name>
    <message>
        <source>备份失败（%1）：无法写入临时密码文件</source>
        <translation>Backup failed (%1): cannot write the temporary password file</translation>
    </message>
    <message>
        <source>备份失败（%1）：无法创建 %2：%3</source>
        <translation>Backup failed (%1): cannot create %2: %3</translation>
    </message>
    <message>
        <source>备份数据库 [%1] -&gt; %2</source>
        <translation>Backing up database [%1] -&gt; %2</translation>
    </message>
    <message>
        <source>mysqldump 启动失败：%1</source>
        <translation>mysqldump did not start: %1</translation>
    </message>
    <message>
        <source>备份失败（%1）：exit=%2 %3</source>
        <translation>Backup failed (%1): exit=%2 %3</translation>
    </message>
    <message>
        <source>备份失败（%1）：无法把备份命名为 %2</source>
        <translation>Backup failed (%1): cannot name the backup %2</translation>
    </message>
    <message>
        <source>备份完成：%1 (%2 KB)</source>
        <translation>Backup done: %1 (%2 KB)</translation>
    </message>
    <message>
        <source>========== 备份主区数据库 ==========</source>
        <translation>========== Backing up the main server ==========</translation>
    </message>
    <message>
        <source>创建备份目录失败：</source>
        <translation>Creating the backup folder failed: </translation>
    </message>
    <message>
        <source>主区角色库备份失败，已中止合区（建议检查 mysqldump.exe 及其依赖 DLL）。</source>
        <translation>The backup of the main character database failed; the merge was stopped (check mysqldump.exe and the DLLs it needs).</translation>
    </message>
    <message>
        <source>主区账号库备份失败，已中止合区（建议检查 mysqldump.exe 及其依赖 DLL）。</source>
        <translation>The backup of the main account database failed; the merge was stopped (check mysqldump.exe and the DLLs it needs).</translation>
    </message>
</context>
<context>
    <name>MergePreflight</name>
    <message>
        <source>将合并 %1 个角色，其中 %2 个获得新的角色ID</source>
        <translation>%1 characters will be merged, %2 of them with a new character ID</translation>
    </message>
    <message>
        <source>无效角色（isvalid ≠ 1）不合并，留在副区: %1 个</source>
        <translation>Invalid characters (isvalid ≠ 1) are not merged and stay on the sub server: %1</translation>
    </message>
    <message>
        <source>先删除低等级角色: 主区 %1 个，副区 %2 个</source>
        <translation>Low-level characters deleted first: %1 on the main server, %2 on the sub server</translation>
    </message>
    <message>
        <source>账号: %1 个，其中 %2 个重名将改名；角色名冲突: %3 个</source>
        <translation>Accounts: %1, %2 of them renamed for clashing names; clashing character names: %3</translation>
    </message>
    <message>
        <source>对方角色不在合并范围内的关系不拷贝: %1 条</source>
        <translation>Relations to characters outside the merge are not copied: %1 rows</translation>
    </message>
    <message>
        <source>主区没有的表，副区数据不拷贝: %1</source>
        <translation>Tables the main server lacks; the sub server&apos;s rows are not copied: %1</translation>
    </message>
    <message>
        <source>副区缺少主区必填的字段 %1: %2</source>
        <translation>The sub server lacks the column %1 the main server requires: %2</translation>
    </message>
    <message>
        <source>注意: 主区已有 %1 个副区角色（账号与创建时间相同），这次合区似乎已经做过</source>
        <translation>Note: the main server already holds %1 characters of the sub server (same account and creation time); this merge seems to have been done</translation>
    </message>
    <message>
        <source>无法合区: %1</source>
        <translation>Cannot merge: %1</translation>
    </message>
    <message numerus="yes">
        <source>  %1: %Ln 条记录</source>
        <translation>
            <numerusform>  %1: %Ln row</numerusform>
            <numerusform>  %1: %Ln rows</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MergeReport</name>
    <message>
        <source>主区没有、因而未拷贝的表: %1 个 (%2)</source>
        <translation>Tables the main server lacks and that were not copied: %1 (%2)</translation>
    </message>
    <message>
        <source>合区已提交，但副区的低等级角色没有删除（副区未改动）: %1</source>
        <translation>The merge was committed, but the low-level characters of the sub server were not deleted (the sub server is unchanged): %1</translation>
    </message>
</context>
<context>
    <name>MergeRunning::MergeRun</name>
    <message>
        <source>合区已取消</source>
        <translation>The merge was cancelled</translation>
    </message>
    <message>
        <source>连接 %1 失败：无法设置时区</source>
        <translation>Connecting %1 failed: cannot set the time zone</translation>
    </message>
    <message>
        <source>连接 %1 成功（第%2次尝试）</source>
        <translation>Connected %1 (attempt %2)</translation>
    </message>
    <message>
        <source>%1 通过 ODBC 驱动 [%2] 连接</source>
        <translation>%1 connects through the ODBC driver [%2]</translation>
    </message>
    <message>
        <source>连接 %1 失败（尝试 %2/%3）：%4</source>
        <translation>Connecting %1 failed (attempt %2/%3): %4</translation>
    </message>
    <message>
        <source>2秒后重试...</source>
        <translation>Retrying in 2 seconds...</translation>
    </message>
    <message>
        <source>连接数据库</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>异步线程开始连接数据库...</source>
        <translation>The worker is connecting to the databases...</translation>
    </message>
    <message>
        <source>主区角色库</source>
        <translation>main character database</translation>
    </message>
    <message>
        <source>副区角色库</source>
        <translation>sub character database</translation>
    </message>
    <message>
        <source>副区账号库</source>
        <translation>sub account database</translation>
    </message>
    <message>
        <source>异步线程数据库连接成功</source>
        <translation>The worker is connected</translation>
    </message>
    <message>
        <source>主区和副区是同一个角色库 %1，不能把它合并到自身</source>
        <translation>Main and sub are the same character database %1; it cannot be merged into itself</translation>
    </message>
    <message>
        <source>主区和副区是同一个账号库 %1，不能把它合并到自身（不合并账号时可取消“合并web库”）</source>
        <translation>Main and sub are the same account database %1; it cannot be merged into itself (without merging accounts, untick &quot;Merge the web database&quot;)</translation>
    </message>
    <message>
        <source>查询低等级角色失败：%1</source>
        <translation>Reading the low-level characters failed: %1</translation>
    </message>
    <message>
        <source>获取副区 charguid 失败：%1</source>
        <translation>Reading the sub server&apos;s charguids failed: %1</translation>
    </message>
    <message>
        <source>无法获取 t_char 表结构</source>
        <translation>Cannot read the columns of t_char</translation>
    </message>
    <message>
        <source>无法获取 account 表结构</source>
        <translation>Cannot read the columns of account</translation>
    </message>
    <message>
        <source>主区表 %1 的字段 %2 必须有值，但副区没有这些字段%3</source>
        <translation>Column %2 of the main server&apos;s %1 needs a value, but the sub server lacks these columns%3</translation>
    </message>
    <message>
        <source>（可选择用游戏为新角色写入的值填充）</source>
        <translation> (they can be filled with the values the game writes for new characters)</translation>
    </message>
    <message>
        <source>主区 WorldID %1 在 t_var 中没有计数器（已有: %2）</source>
        <translation>Main WorldID %1 has no counter in t_var (there are: %2)</translation>
    </message>
    <message>
        <source>检测 charguid 冲突失败：%1</source>
        <translation>Checking for charguid clashes failed: %1</translation>
    </message>
    <message>
        <source>读取主区账号表失败：%1</source>
        <translation>Reading the main server&apos;s account table failed: %1</translation>
    </message>
    <message>
        <source>读取主区账号失败：%1</source>
        <translation>Reading the main server&apos;s accounts failed: %1</translation>
    </message>
    <message>
        <source>查询副区账号失败：</source>
        <translation>Reading the sub server&apos;s accounts failed: </translation>
    </message>
    <message>
        <source>比较账号名失败：%1</source>
        <translation>Comparing account names failed: %1</translation>
    </message>
    <message>
        <source>账号名过长，已截短后改名：%1 -&gt; %2</source>
        <translation>Account name too long, shortened and renamed: %1 -&gt; %2</translation>
    </message>
    <message>
        <source>读取主区角色表失败：%1</source>
        <translation>Reading the main server&apos;s character table failed: %1</translation>
    </message>
    <message>
        <source>读取主区角色名失败：%1</source>
        <translation>Reading the main server&apos;s character names failed: %1</translation>
    </message>
    <message>
        <source>主区角色名总数（含UNIQUE索引）: %1</source>
        <translation>Character names on the main server (with the UNIQUE index): %1</translation>
    </message>
    <message>
        <source>比较角色名失败：%1</source>
        <translation>Comparing character names failed: %1</translation>
    </message>
    <message>
        <source>角色名过长，已截短后改名：%1 -&gt; %2</source>
        <translation>Character name too long, shortened and renamed: %1 -&gt; %2</translation>
    </message>
    <message>
        <source>创建临时表失败：%1</source>
        <translation>Creating a temporary table failed: %1</translation>
    </message>
    <message>
        <source>写入临时表失败：%1</source>
        <translation>Writing a temporary table failed: %1</translation>
    </message>
    <message>
        <source>无法短暂锁定副区（%1）：改为在一个连接的一个快照中读取副区，不并行读取</source>
        <translation>Cannot lock the sub server briefly (%1): reading it in one snapshot on one connection instead, not in parallel</translation>
    </message>
    <message>
        <source>副区读取连接无法开始快照，改为单连接读取</source>
        <translation>The sub server&apos;s reading connection cannot start a snapshot; reading on one connection</translation>
    </message>
    <message>
        <source>副区无法开始一致的读取：%1</source>
        <translation>The sub server cannot start a consistent read: %1</translation>
    </message>
    <message>
        <source>副区的所有读取都在同一时刻的快照中进行</source>
        <translation>Every read of the sub server sees one snapshot of one moment</translation>
    </message>
    <message>
        <source>副区读取连接失败（%1），改为单连接读取</source>
        <translation>The sub server&apos;s reading connection failed (%1); reading on one connection</translation>
    </message>
    <message>
        <source>统计副区表 %1 失败：%2</source>
        <translation>Counting the sub server&apos;s table %1 failed: %2</translation>
    </message>
    <message>
        <source>检查是否已合并失败：%1</source>
        <translation>Checking for an earlier merge failed: %1</translation>
    </message>
    <message>
        <source>========== 数据统计 ==========</source>
        <translation>========== Counts ==========</translation>
    </message>
    <message>
        <source>【%1】表数量: %2, 账号数量: %3, 角色数量: %4</source>
        <translation>[%1] tables: %2, accounts: %3, characters: %4</translation>
    </message>
    <message>
        <source>主区</source>
        <translation>main</translation>
    </message>
    <message>
        <source>副区</source>
        <translation>sub</translation>
    </message>
    <message>
        <source>========== 冲突检测 ==========</source>
        <translation>========== Clashes ==========</translation>
    </message>
    <message>
        <source>【冲突统计】角色名冲突: %1 个, 账号名冲突: %2 个</source>
        <translation>[Clashes] character names: %1, account names: %2</translation>
    </message>
    <message>
        <source>冲突%1名(前20个): %2 ...</source>
        <translation>Clashing %1 names (first 20): %2 ...</translation>
    </message>
    <message>
        <source>冲突%1名: </source>
        <translation>Clashing %1 names: </translation>
    </message>
    <message>
        <source>冲突%1将添加后缀: %2</source>
        <translation>Clashing %1 get the suffix: %2</translation>
    </message>
    <message>
        <source>角色</source>
        <translation>character</translation>
    </message>
    <message>
        <source>账号</source>
        <translation>Account</translation>
    </message>
    <message>
        <source>数据统计</source>
        <translation>Counting</translation>
    </message>
    <message>
        <source>冲突检测</source>
        <translation>Clash check</translation>
    </message>
    <message>
        <source>[%1] 未找到等级≤%2的角色</source>
        <translation>[%1] no characters of level ≤ %2</translation>
    </message>
    <message>
        <source>[%1] 找到 %2 个等级≤%3的角色，开始清理...</source>
        <translation>[%1] found %2 characters of level ≤ %3, deleting...</translation>
    </message>
    <message>
        <source>[%1] 清理 %2 失败：%3</source>
        <translation>[%1] Clearing %2 failed: %3</translation>
    </message>
    <message>
        <source>[%1] 低等级角色清理完成</source>
        <translation>[%1] Low-level characters deleted</translation>
    </message>
    <message>
        <source>清理低等级角色</source>
        <translation>Deleting low-level characters</translation>
    </message>
    <message>
        <source>========== 清理副区低等级角色 ==========</source>
        <translation>========== Deleting the sub server&apos;s low-level characters ==========</translation>
    </message>
    <message>
        <source>清理等级 ≤ %1 的角色</source>
        <translation>Deleting characters of level ≤ %1</translation>
    </message>
    <message>
        <source>跨服合区 清理副区 %1:%2/%3 WorldID %4 等级≤%5的角色</source>
        <translation>Cross-server merge: delete the characters of level ≤ %5 of WorldID %4 on the sub server %1:%2/%3</translation>
    </message>
    <message>
        <source>无法读取副区低等级角色</source>
        <translation>Cannot read the sub server&apos;s low-level characters</translation>
    </message>
    <message>
        <source>清理失败，已回滚</source>
        <translation>The clean-up failed and was rolled back</translation>
    </message>
    <message>
        <source>副区撤销文件: %1</source>
        <translation>Sub server&apos;s undo file: %1</translation>
    </message>
    <message>
        <source>跳过web库合并（用户未勾选）</source>
        <translation>Skipping the web database (not ticked)</translation>
    </message>
    <message>
        <source>合并账号</source>
        <translation>Merging accounts</translation>
    </message>
    <message>
        <source>合并账号数据...</source>
        <translation>Merging accounts...</translation>
    </message>
    <message>
        <source>账号批量插入失败：%1</source>
        <translation>Inserting the accounts failed: %1</translation>
    </message>
    <message>
        <source>账号合并完成：成功 %1 个，冲突改名 %2 个</source>
        <translation>Accounts merged: %1, renamed for clashes: %2</translation>
    </message>
    <message>
        <source>合并角色</source>
        <translation>Merging characters</translation>
    </message>
    <message>
        <source>合并角色数据...</source>
        <translation>Merging characters...</translation>
    </message>
    <message>
        <source>获取到 t_char 表 %1 个字段</source>
        <translation>t_char has %1 columns</translation>
    </message>
    <message>
        <source>角色插入失败: %1</source>
        <translation>Inserting the characters failed: %1</translation>
    </message>
    <message>
        <source>角色合并完成：成功 %1 个，角色名冲突 %2 个</source>
        <translation>Characters merged: %1, clashing names: %2</translation>
    </message>
    <message>
        <source>合并表 %1...</source>
        <translation>Merging table %1...</translation>
    </message>
    <message>
        <source>警告：主区没有表 %1，副区的 %1 数据未拷贝</source>
        <translation>Warning: the main server has no table %1; the sub server&apos;s %1 rows were not copied</translation>
    </message>
    <message>
        <source>表 %1 不存在，跳过</source>
        <translation>Table %1 does not exist, skipped</translation>
    </message>
    <message>
        <source>提示：副区表 %1 缺少 charguid 索引，关联表拷贝可能很慢（建议为 charguid 建索引）</source>
        <translation>Note: the sub server&apos;s table %1 has no charguid index; copying it may be slow (an index on charguid helps)</translation>
    </message>
    <message>
        <source>表 %1 合并失败：%2</source>
        <translation>Merging table %1 failed: %2</translation>
    </message>
    <message>
        <source>表 %1 合并完成：成功 %2，耗时 %3 秒</source>
        <translation>Table %1 merged: %2 rows in %3 s</translation>
    </message>
    <message>
        <source>合并关联表</source>
        <translation>Merging related tables</translation>
    </message>
    <message>
        <source>未合并任何角色，跳过关联表合并。</source>
        <translation>No characters merged; related tables skipped.</translation>
    </message>
    <message>
        <source>已筛选 %1 个合并的角色用于关联表拷贝</source>
        <translation>%1 merged characters chosen for the related tables</translation>
    </message>
    <message>
        <source>========== 开始合并数据 ==========</source>
        <translation>========== Merging ==========</translation>
    </message>
    <message>
        <source>WorldID相同，准备重新分配charguid...</source>
        <translation>Same WorldID: assigning new charguids...</translation>
    </message>
    <message>
        <source>WorldID不同，检查charguid冲突...</source>
        <translation>Different WorldIDs: checking for charguid clashes...</translation>
    </message>
    <message>
        <source>主区未做任何修改：无法建立临时表：%1</source>
        <translation>Nothing changed on the main server: cannot create a temporary table: %1</translation>
    </message>
    <message>
        <source>跨服合区 %1:%2/%3 WorldID %4 → WorldID %5</source>
        <translation>Cross-server merge %1:%2/%3 WorldID %4 → WorldID %5</translation>
    </message>
    <message>
        <source>主区未做任何修改：%1</source>
        <translation>Nothing changed on the main server: %1</translation>
    </message>
    <message>
        <source>主区事务已开始：合区完成前主区不会有任何改动</source>
        <translation>The main server&apos;s transaction has begun: nothing changes there until the merge is complete</translation>
    </message>
    <message>
        <source>分配 charguid</source>
        <translation>Assigning charguids</translation>
    </message>
    <message>
        <source>主区 WorldID %1 的 maxcharguid: %2</source>
        <translation>maxcharguid of main WorldID %1: %2</translation>
    </message>
    <message>
        <source>副区待合并角色数: %1</source>
        <translation>Characters to merge from the sub server: %1</translation>
    </message>
    <message>
        <source>需要重新分配 %1 个 charguid，新范围: %2 - %3</source>
        <translation>%1 charguids to assign anew, new range: %2 - %3</translation>
    </message>
    <message>
        <source>副区读取连接出错，改为单连接读取</source>
        <translation>The sub server&apos;s reading connection failed; reading on one connection</translation>
    </message>
    <message>
        <source>更新 t_var 与冲突记录</source>
        <translation>Updating t_var and the clash records</translation>
    </message>
    <message>
        <source>已更新 t_var.maxcharguid = %1</source>
        <translation>t_var.maxcharguid set to %1</translation>
    </message>
    <message>
        <source>撤销文件写入失败，主区已回滚：%1</source>
        <translation>Writing the undo file failed; the main server was rolled back: %1</translation>
    </message>
    <message>
        <source>主区：%1</source>
        <translation>Main server: %1</translation>
    </message>
    <message>
        <source>主区事务已提交</source>
        <translation>The main server&apos;s transaction was committed</translation>
    </message>
    <message>
        <source>撤销文件: %1</source>
        <translation>Undo file: %1</translation>
    </message>
    <message>
        <source>副区 %1:%2/%3 WorldID %4 -&gt; 主区 %5:%6/%7 WorldID %8
</source>
        <translation>Sub %1:%2/%3 WorldID %4 -&gt; main %5:%6/%7 WorldID %8
</translation>
    </message>
    <message>
        <source>
%1（%2 个）
</source>
        <translation>
%1 (%2)
</translation>
    </message>
    <message>
        <source>账号改名</source>
        <translation>Renamed accounts</translation>
    </message>
    <message>
        <source>角色改名</source>
        <translation>Renamed characters</translation>
    </message>
    <message>
        <source>警告：改名记录文件写入失败：%1</source>
        <translation>Warning: writing the rename record failed: %1</translation>
    </message>
    <message>
        <source>========== 冲突处理记录 ==========</source>
        <translation>========== Clashes handled ==========</translation>
    </message>
    <message>
        <source>  ... 还有 %1 个未显示</source>
        <translation>  ... and %1 more</translation>
    </message>
    <message>
        <source>【账号改名】共 %1 个：</source>
        <translation>[Renamed accounts] %1:</translation>
    </message>
    <message>
        <source>【角色改名】共 %1 个：</source>
        <translation>[Renamed characters] %1:</translation>
    </message>
    <message>
        <source>全部改名记录: %1</source>
        <translation>All renames: %1</translation>
    </message>
    <message>
        <source>无效角色（isvalid ≠ 1）未合并: %1 个</source>
        <translation>Invalid characters (isvalid ≠ 1) not merged: %1</translation>
    </message>
    <message>
        <source>对方角色未合并而未拷贝的关系: %1 条</source>
        <translation>Relations not copied because the other character was not merged: %1 rows</translation>
    </message>
    <message>
        <source>为放入字段而截短的名字: %1 个</source>
        <translation>Names shortened to fit their column: %1</translation>
    </message>
    <message>
        <source>========== 未完整合并 ==========</source>
        <translation>========== Not merged in full ==========</translation>
    </message>
    <message>
        <source>拒绝合区：%1</source>
        <translation>Merge refused: %1</translation>
    </message>
    <message>
        <source>拒绝合区：主区已有 %1 个副区角色（账号与创建时间相同），这次合区似乎已经做过</source>
        <translation>Merge refused: the main server already holds %1 characters of the sub server (same account and creation time); this merge seems to have been done</translation>
    </message>
    <message>
        <source>备份主区数据库</source>
        <translation>Back up the main server</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>拒绝合区：服务器在确认之后有了变化，这次合区不再是确认的那个计划（确认的计划 %1，现在 %2），未做任何修改。请重新预览后再确认。</source>
        <translation>Merge refused: the servers changed after the confirmation, and this merge is no longer the plan confirmed (confirmed %1, now %2); nothing was changed. Preview it again and confirm again.</translation>
    </message>
    <message>
        <source>  %1: 确认时 %2，现在 %3</source>
        <translation>  %1: %2 when confirmed, %3 now</translation>
    </message>
    <message>
        <source>合并的角色</source>
        <translation>characters merged</translation>
    </message>
    <message>
        <source>换新ID的角色</source>
        <translation>characters given new IDs</translation>
    </message>
    <message>
        <source>改名的角色</source>
        <translation>characters renamed</translation>
    </message>
    <message>
        <source>合并的账号</source>
        <translation>accounts merged</translation>
    </message>
    <message>
        <source>改名的账号</source>
        <translation>accounts renamed</translation>
    </message>
    <message>
        <source>主区先清理的角色</source>
        <translation>main characters deleted first</translation>
    </message>
    <message>
        <source>副区先清理的角色</source>
        <translation>sub characters deleted first</translation>
    </message>
    <message>
        <source>  （数目相同时，变的是角色或账号的名字，或主区 WorldID %1 的角色ID计数器：游戏在这期间创建了角色）</source>
        <translation>  (where the numbers are the same, names of characters or accounts changed, or the character ID counter of the main WorldID %1: the game created characters meanwhile)</translation>
    </message>
    <message>
        <source>主区 WorldID %1 的角色ID计数器在计划之后变了（游戏创建了角色），未做任何修改，请重试</source>
        <translation>The character ID counter of the main WorldID %1 changed after the plan (the game created characters); nothing was changed, try again</translation>
    </message>
    <message>
        <source>副区读取连接出错（%1），改为单连接读取</source>
        <translation>The source&apos;s reading connection failed (%1); reading on one connection instead</translation>
    </message>
    <message>
        <source>主区不接受本地文件导入（LOAD DATA LOCAL INFILE），各表改用 INSERT 语句写入</source>
        <translation>The main server does not take local files (LOAD DATA LOCAL INFILE); the tables were written with INSERT statements instead</translation>
    </message>
</context>
<context>
    <name>MergeServerDialog</name>
    <message>
        <source>跨服合区</source>
        <translation>Cross-server merge</translation>
    </message>
    <message>
        <source>主区</source>
        <translation>main</translation>
    </message>
    <message>
        <source>副区</source>
        <translation>sub</translation>
    </message>
    <message>
        <source>主区配置（目标区）</source>
        <translation>Main server (target)</translation>
    </message>
    <message>
        <source>副区配置（源区）</source>
        <translation>Sub server (source)</translation>
    </message>
    <message>
        <source>合区配置</source>
        <translation>Merge settings</translation>
    </message>
    <message>
        <source>合区模式:</source>
        <translation>Merge mode:</translation>
    </message>
    <message>
        <source>请先连接主区和副区</source>
        <translation>Connect the main and the sub server first</translation>
    </message>
    <message>
        <source>角色名后缀:</source>
        <translation>Character name suffix:</translation>
    </message>
    <message>
        <source>账号名后缀:</source>
        <translation>Account name suffix:</translation>
    </message>
    <message>
        <source>合区前清理低等级角色（两区）</source>
        <translation>Delete low-level characters first (both worlds)</translation>
    </message>
    <message>
        <source>清理等级 ≤</source>
        <translation>Level ≤</translation>
    </message>
    <message>
        <source>合并web库（账号数据）</source>
        <translation>Merge the web database (accounts)</translation>
    </message>
    <message>
        <source>勾选后将合并副区的web库账号数据到主区</source>
        <translation>Merge the sub server&apos;s web accounts into the main server</translation>
    </message>
    <message>
        <source>开始合区</source>
        <translation>Start merge</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>Ready</translation>
    </message>
    <message>
        <source>手动输入</source>
        <translation>Manual</translation>
    </message>
    <message>
        <source>测试</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>连接</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>○ 未连接</source>
        <translation>○ Not connected</translation>
    </message>
    <message>
        <source>预设:</source>
        <translation>Preset:</translation>
    </message>
    <message>
        <source>主机:</source>
        <translation>Host:</translation>
    </message>
    <message>
        <source>端口:</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>用户:</source>
        <translation>User:</translation>
    </message>
    <message>
        <source>密码:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>角色库:</source>
        <translation>Character database:</translation>
    </message>
    <message>
        <source>账号库:</source>
        <translation>Account database:</translation>
    </message>
    <message>
        <source>● 连接中…</source>
        <translation>● Connecting…</translation>
    </message>
    <message>
        <source>%1连接测试成功！</source>
        <translation>%1 connection test passed!</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>%1数据库连接测试成功！
角色库: </source>
        <translation>%1 database connection test passed!
Character database: </translation>
    </message>
    <message>
        <source>
账号库: </source>
        <translation>
Account database: </translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>连接失败：%1连接失败: %2</source>
        <translation>Connection failed: %1 connection failed: %2</translation>
    </message>
    <message>
        <source>%1连接失败</source>
        <translation>%1 connection failed</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>无法连接%1%2 &apos;%3&apos;（已重试%4次）</source>
        <translation>Cannot connect to %1 %2 &apos;%3&apos; (tried %4 times)</translation>
    </message>
    <message>
        <source>● 已连接</source>
        <translation>● Connected</translation>
    </message>
    <message>
        <source>断开</source>
        <translation>Disconnect</translation>
    </message>
    <message>
        <source>%1连接成功，发现 %2 个WorldID</source>
        <translation>%1 connected, %2 WorldIDs found</translation>
    </message>
    <message>
        <source>测试%1连接...</source>
        <translation>Testing the %1 connection...</translation>
    </message>
    <message>
        <source>连接参数: %1:%2, 角色库=%3, 账号库=%4</source>
        <translation>Connection: %1:%2, character database=%3, account database=%4</translation>
    </message>
    <message>
        <source>请输入主区主机地址</source>
        <translation>Enter the main server&apos;s host</translation>
    </message>
    <message>
        <source>正在连接%1数据库...</source>
        <translation>Connecting to the %1 databases...</translation>
    </message>
    <message>
        <source>%1连接参数: %2:%3, 角色库=%4, 账号库=%5</source>
        <translation>%1 connection: %2:%3, character database=%4, account database=%5</translation>
    </message>
    <message>
        <source>已完成合区 (%1 ← %2)，如需再合并请更换区服</source>
        <translation>Merge done (%1 ← %2); choose other worlds to merge again</translation>
    </message>
    <message>
        <source>WorldID 不同 (%1 ← %2) - 保持charguid</source>
        <translation>Different WorldIDs (%1 ← %2) - charguids kept</translation>
    </message>
    <message>
        <source>WorldID 相同 (%1) - 需重新分配charguid</source>
        <translation>Same WorldID (%1) - charguids assigned anew</translation>
    </message>
    <message>
        <source>取消合区</source>
        <translation>Cancel merge</translation>
    </message>
    <message>
        <source>有操作正在进行中...</source>
        <translation>An operation is running...</translation>
    </message>
    <message>
        <source>========== 开始合区 ==========</source>
        <translation>========== Merge started ==========</translation>
    </message>
    <message>
        <source>输入错误</source>
        <translation>Input error</translation>
    </message>
    <message>
        <source>预检中...</source>
        <translation>Checking...</translation>
    </message>
    <message>
        <source>合区预检失败，未做任何修改，请检查日志！</source>
        <translation>The merge&apos;s check failed, nothing was changed; see the log!</translation>
    </message>
    <message>
        <source>无法合区</source>
        <translation>Cannot merge</translation>
    </message>
    <message>
        <source>合区未开始，两边都没有改动：

</source>
        <translation>The merge did not start; neither side was changed:

</translation>
    </message>
    <message>
        <source>可能已经合并过</source>
        <translation>May have been merged already</translation>
    </message>
    <message>
        <source>主区已有 %1 个副区角色（账号与创建时间相同），这次合区似乎已经做过。

再次合并会把这些角色和账号再复制一份（带后缀）。确定要继续吗？</source>
        <translation>The main server already holds %1 characters of the sub server (same account and creation time); this merge seems to have been done.

Merging again copies these characters and accounts once more (with a suffix). Continue?</translation>
    </message>
    <message>
        <source>确认合区</source>
        <translation>Confirm merge</translation>
    </message>
    <message>
        <source>确定要将副区 WorldID=%1 的数据合并到主区 WorldID=%2 吗？

%3

此操作不可逆！</source>
        <translation>Merge the data of sub WorldID=%1 into main WorldID=%2?

%3

This cannot be reversed!</translation>
    </message>
    <message>
        <source>备份数据库</source>
        <translation>Back up</translation>
    </message>
    <message>
        <source>是否在合区前备份主区数据库？

备份可能需要几分钟时间。</source>
        <translation>Back up the main server&apos;s databases before merging?

The backup may take a few minutes.</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>合区中...</source>
        <translation>Merging...</translation>
    </message>
    <message>
        <source>合区正在进行。取消后，主区保持合区开始前的样子。

确定要取消吗？</source>
        <translation>The merge is running. If cancelled, the main server stays as it was before the merge.

Cancel?</translation>
    </message>
    <message>
        <source>正在取消合区...</source>
        <translation>Cancelling the merge...</translation>
    </message>
    <message>
        <source>正在取消...</source>
        <translation>Cancelling...</translation>
    </message>
    <message>
        <source>========== 合区完成 ==========</source>
        <translation>========== Merge done ==========</translation>
    </message>
    <message>
        <source>========== 合区已取消，主区未改动 ==========</source>
        <translation>========== Merge cancelled, main server unchanged ==========</translation>
    </message>
    <message>
        <source>========== 合区失败 ==========</source>
        <translation>========== Merge failed ==========</translation>
    </message>
    <message>
        <source>合区已取消</source>
        <translation>The merge was cancelled</translation>
    </message>
    <message>
        <source>合区失败</source>
        <translation>Merge failed</translation>
    </message>
    <message>
        <source>合区已取消，主区保持原样。</source>
        <translation>The merge was cancelled; the main server is as it was.</translation>
    </message>
    <message>
        <source>合区操作失败，请检查日志！</source>
        <translation>The merge failed; see the log!</translation>
    </message>
    <message>
        <source>合区完成（有数据未合并）</source>
        <translation>Merge done (some data not merged)</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>合区已完成，但有数据未能合并：

</source>
        <translation>The merge is done, but some data could not be merged:

</translation>
    </message>
    <message>
        <source>

详情请查看日志。</source>
        <translation>

See the log for details.</translation>
    </message>
    <message>
        <source>合区完成</source>
        <translation>Merge done</translation>
    </message>
    <message>
        <source>合区操作完成！</source>
        <translation>The merge is done!</translation>
    </message>
    <message>
        <source>角色库</source>
        <translation>character database</translation>
    </message>
    <message>
        <source>账号库</source>
        <translation>account database</translation>
    </message>
    <message>
        <source>%1%2</source>
        <translation>%1 %2</translation>
    </message>
    <message>
        <source>%1连接成功: %2</source>
        <translation>%1 connected: %2</translation>
    </message>
    <message>
        <source>%1连接失败（尝试 %2/%3）：%4</source>
        <translation>%1 connection failed (attempt %2/%3): %4</translation>
    </message>
    <message>
        <source>%1连接失败: %2</source>
        <translation>%1 connection failed: %2</translation>
    </message>
</context>
<context>
    <name>MergeSettings</name>
    <message>
        <source>清理等级必须为%1-%2之间的数字</source>
        <translation>The clean-up level must be a number from %1 to %2</translation>
    </message>
</context>
<context>
    <name>OdbcWarning</name>
    <message>
        <source>缺少 MySQL ODBC 驱动</source>
        <translation>MySQL ODBC driver missing</translation>
    </message>
</context>
<context>
    <name>RestorePreview</name>
    <message>
        <source>无法读取备份文件 %1: %2</source>
        <translation>Cannot read the backup file %1: %2</translation>
    </message>
    <message>
        <source>%1 不是完整的备份（没有 mysqldump 结尾的 &quot;-- Dump completed&quot;，可能是失败或中断的备份），拒绝恢复</source>
        <translation>%1 is not a complete backup (it lacks the closing &quot;-- Dump completed&quot; of mysqldump; the backup may have failed or been cut); not restoring it</translation>
    </message>
    <message>
        <source>%1 含有恢复不能执行的内容，拒绝恢复，未做任何修改: %2</source>
        <translation>%1 holds what a restore must not run; not restoring it, nothing was changed: %2</translation>
    </message>
    <message>
        <source>  %1: 现有 %2 条，文件删除此表（DROP TABLE）</source>
        <translation>  %1: %2 rows now; the file drops this table (DROP TABLE)</translation>
    </message>
    <message>
        <source>  %1: 现有 %2 条 → 恢复后 %3 条</source>
        <translation>  %1: %2 rows now → %3 rows after the restore</translation>
    </message>
    <message>
        <source>  %1: 现在没有此表 → 恢复后 %2 条</source>
        <translation>  %1: no such table now → %2 rows after the restore</translation>
    </message>
    <message>
        <source>  %1: 现有 %2 条，文件清空或删除此表的行（%3），再写入 %4 条</source>
        <translation>  %1: %2 rows now; the file empties it or deletes its rows (%3), then writes %4 rows</translation>
    </message>
    <message>
        <source>  %1: 现有 %2 条，文件另外写入 %3 条</source>
        <translation>  %1: %2 rows now; the file adds %3 rows</translation>
    </message>
    <message>
        <source>  %1: 现有 %2 条，文件中没有此表，保持不变</source>
        <translation>  %1: %2 rows now; the file does not have this table, it stays as it is</translation>
    </message>
</context>
<context>
    <name>RestorePreview::Scanner</name>
    <message>
        <source>第 %1 行: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>DELIMITER 没有给出分隔符</source>
        <translation>DELIMITER without a delimiter</translation>
    </message>
    <message>
        <source>客户端命令 %1</source>
        <translation>the client command %1</translation>
    </message>
    <message>
        <source>客户端命令 \%1</source>
        <translation>the client command \%1</translation>
    </message>
    <message>
        <source>表 %1.%2 属于另一个数据库</source>
        <translation>the table %1.%2 belongs to another database</translation>
    </message>
    <message>
        <source>语句改动服务器的设置: SET %1</source>
        <translation>a statement that changes the server: SET %1</translation>
    </message>
    <message>
        <source>文件删除数据库</source>
        <translation>the file drops a database</translation>
    </message>
    <message>
        <source>备份中不该有的语句: DROP %1</source>
        <translation>a statement no dump holds: DROP %1</translation>
    </message>
    <message>
        <source>文件创建数据库 %1</source>
        <translation>the file creates the database %1</translation>
    </message>
    <message>
        <source>备份中不该有的语句: CREATE %1</source>
        <translation>a statement no dump holds: CREATE %1</translation>
    </message>
    <message>
        <source>文件改动另一个数据库 %1</source>
        <translation>the file changes another database, %1</translation>
    </message>
    <message>
        <source>备份中不该有的语句: ALTER %1</source>
        <translation>a statement no dump holds: ALTER %1</translation>
    </message>
    <message>
        <source>备份中不该有的语句: DELETE</source>
        <translation>a statement no dump holds: DELETE</translation>
    </message>
    <message>
        <source>文件切换到另一个数据库 %1</source>
        <translation>the file switches to another database, %1</translation>
    </message>
    <message>
        <source>备份中不该有的语句: %1</source>
        <translation>a statement no dump holds: %1</translation>
    </message>
</context>
<context>
    <name>RowCopier</name>
    <message>
        <source>合区已取消</source>
        <translation>The merge was cancelled</translation>
    </message>
    <message>
        <source>写入 %1 行，应为 %2 行</source>
        <translation>%1 rows written, %2 expected</translation>
    </message>
    <message>
        <source>无法写入的值类型 %1</source>
        <translation>A value type that cannot be written: %1</translation>
    </message>
</context>
<context>
    <name>RowPreview</name>
    <message>
        <source>t_relation(反向关系)</source>
        <translation>t_relation (reverse relations)</translation>
    </message>
    <message>
        <source>%1(删除)</source>
        <translation>%1 (deleted)</translation>
    </message>
    <message>
        <source>%1(重新写入)</source>
        <translation>%1 (written again)</translation>
    </message>
    <message>
        <source>  跳过 %1: 表不存在</source>
        <translation>  Skipped %1: the table does not exist</translation>
    </message>
    <message>
        <source>  %1: 统计失败: %2</source>
        <translation>  %1: counting failed: %2</translation>
    </message>
    <message>
        <source>注意：游戏可能仍在运行：%1 个其他客户端连接正在使用这些数据库，%2 个账号标记为在线。建议先停服再操作。</source>
        <translation>Note: the game may still be running: %1 other client sessions use these databases, %2 accounts are marked online. Stop the game server first.</translation>
    </message>
    <message>
        <source>注意：%1这次操作在一个事务中改动约 %2 行，行锁约需 %3 MB，而 innodb_buffer_pool_size 只有 %4 MB；锁放不下时服务器会在做完大部分工作后报错 1206 并全部回滚。请先把 innodb_buffer_pool_size 调到 %5 MB 以上，或一次少处理几个区。</source>
        <translation>Note: %1this operation changes about %2 rows in one transaction; their row locks need about %3 MB, but innodb_buffer_pool_size is only %4 MB. When the locks do not fit, the server fails with error 1206 after most of the work and rolls everything back. Raise innodb_buffer_pool_size above %5 MB first, or process fewer worlds at a time.</translation>
    </message>
    <message>
        <source>：</source>
        <translation>: </translation>
    </message>
    <message>
        <source>注意：无法确认游戏是否已停止：当前用户没有 PROCESS 权限，看不到其他客户端的连接；%1 个账号标记为在线。建议先停服再操作。</source>
        <translation>Note: whether the game has stopped cannot be told: this user has no PROCESS privilege and cannot see other clients&apos; connections; %1 accounts are marked online. Stop the game first.</translation>
    </message>
    <message numerus="yes">
        <source>  %1: %Ln 条记录</source>
        <translation>
            <numerusform>  %1: %Ln row</numerusform>
            <numerusform>  %1: %Ln rows</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SameServerMerge</name>
    <message>
        <source>删除两个区等级 ≤ %1 的角色:</source>
        <translation>Delete the characters of level ≤ %1 in both worlds:</translation>
    </message>
    <message>
        <source>WorldID %1 → %2，改动的记录:</source>
        <translation>WorldID %1 → %2, rows changed:</translation>
    </message>
    <message>
        <source>  %1.account: 导入 %2 个账号，其中 %3 个重名加后缀</source>
        <translation>  %1.account: %2 accounts imported, %3 of them with a suffix for clashing names</translation>
    </message>
    <message>
        <source>  账号统计失败: %1</source>
        <translation>  Counting the accounts failed: %1</translation>
    </message>
    <message>
        <source>副区和主区不能相同！</source>
        <translation>Sub and main must differ!</translation>
    </message>
    <message>
        <source>账号库名称无效: %1</source>
        <translation>Invalid account database name: %1</translation>
    </message>
    <message>
        <source>主区和副区是同一个账号库 %1，不能把它合并到自身</source>
        <translation>Main and sub are the same account database %1; it cannot be merged into itself</translation>
    </message>
    <message>
        <source>冲突账号后缀不能为空</source>
        <translation>The suffix for clashing accounts must not be empty</translation>
    </message>
    <message>
        <source>同服合区</source>
        <translation>Same-server merge</translation>
    </message>
    <message>
        <source>❌ 数据库连接失败</source>
        <translation>❌ Database connection failed</translation>
    </message>
</context>
<context>
    <name>SameServerMergeDialog</name>
    <message>
        <source>同服合区 - %1</source>
        <translation>Same-server merge - %1</translation>
    </message>
    <message>
        <source>区服设置</source>
        <translation>Worlds</translation>
    </message>
    <message>
        <source>副区 (被合并):</source>
        <translation>Sub (merged from):</translation>
    </message>
    <message>
        <source>主区 (合并到):</source>
        <translation>Main (merged into):</translation>
    </message>
    <message>
        <source>清理低等级角色</source>
        <translation>Deleting low-level characters</translation>
    </message>
    <message>
        <source>合区前清理低等级角色</source>
        <translation>Delete low-level characters first</translation>
    </message>
    <message>
        <source>待清理: 0 个</source>
        <translation>To delete: 0</translation>
    </message>
    <message>
        <source>等级 ≤</source>
        <translation>Level ≤</translation>
    </message>
    <message>
        <source>账号库模式</source>
        <translation>Account databases</translation>
    </message>
    <message>
        <source>同一账号库（默认）</source>
        <translation>One account database (default)</translation>
    </message>
    <message>
        <source>独立账号库</source>
        <translation>Separate account databases</translation>
    </message>
    <message>
        <source>独立账号库设置</source>
        <translation>Separate account databases</translation>
    </message>
    <message>
        <source>如: web</source>
        <translation>e.g. web</translation>
    </message>
    <message>
        <source>如: web2</source>
        <translation>e.g. web2</translation>
    </message>
    <message>
        <source>如: _s2</source>
        <translation>e.g. _s2</translation>
    </message>
    <message>
        <source>冲突: 0 个</source>
        <translation>Clashes: 0</translation>
    </message>
    <message>
        <source>主区账号库:</source>
        <translation>Main account database:</translation>
    </message>
    <message>
        <source>副区账号库:</source>
        <translation>Sub account database:</translation>
    </message>
    <message>
        <source>冲突后缀:</source>
        <translation>Clash suffix:</translation>
    </message>
    <message>
        <source>操作预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>执行合区</source>
        <translation>Merge</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>待清理: %1 个</source>
        <translation>To delete: %1</translation>
    </message>
    <message>
        <source>冲突: %1 个</source>
        <translation>Clashes: %1</translation>
    </message>
    <message>
        <source>副区 [%1]: %2 个角色
主区 [%3]: %4 个角色
</source>
        <translation>Sub [%1]: %2 characters
Main [%3]: %4 characters
</translation>
    </message>
    <message>
        <source>
⚠️ 副区和主区不能相同！
</source>
        <translation>
⚠️ Sub and main must differ!
</translation>
    </message>
    <message>
        <source>清理 ≤%1级: %2 个
</source>
        <translation>Delete level ≤%1: %2
</translation>
    </message>
    <message>
        <source>副区账号: %1 个
</source>
        <translation>Sub accounts: %1
</translation>
    </message>
    <message>
        <source>冲突账号: %1 个
</source>
        <translation>Clashing accounts: %1
</translation>
    </message>
    <message>
        <source>
合并后总角色: %1 个
</source>
        <translation>
Characters after the merge: %1
</translation>
    </message>
    <message>
        <source>自动同步world字段</source>
        <translation>Update the world columns</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>副区和主区不能相同！</source>
        <translation>Sub and main must differ!</translation>
    </message>
    <message>
        <source>请输入主区账号库名称！</source>
        <translation>Enter the main account database!</translation>
    </message>
    <message>
        <source>请输入副区账号库名称！</source>
        <translation>Enter the sub account database!</translation>
    </message>
    <message>
        <source>请输入冲突账号后缀！</source>
        <translation>Enter the suffix for clashing accounts!</translation>
    </message>
    <message>
        <source>账号库名称只能包含字母、数字、_ 和 $！</source>
        <translation>Account database names may hold only letters, digits, _ and $!</translation>
    </message>
    <message>
        <source>确认执行合区</source>
        <translation>Confirm the merge</translation>
    </message>
    <message>
        <source>即将执行同服合区操作：

副区 [%1] → 主区 [%2]</source>
        <translation>About to merge on this server:

Sub [%1] → main [%2]</translation>
    </message>
    <message>
        <source>同服合区</source>
        <translation>Same-server merge</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>══ 开始异步合区操作 ══</source>
        <translation>══ Merge started ══</translation>
    </message>
    <message>
        <source>副区: %1, 主区: %2</source>
        <translation>Sub: %1, main: %2</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>══ 合区完成 ══</source>
        <translation>══ Merge done ══</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>同服合区操作完成！</source>
        <translation>The same-server merge is done!</translation>
    </message>
    <message>
        <source>══ 合区失败 ══</source>
        <translation>══ Merge failed ══</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>合区操作失败，数据已回滚，请查看日志。</source>
        <translation>The merge failed and was rolled back; see the log.</translation>
    </message>
    <message numerus="yes">
        <source>%1 (%Ln个角色)</source>
        <translation>
            <numerusform>%1 (%Ln character)</numerusform>
            <numerusform>%1 (%Ln characters)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SameServerMergeRun</name>
    <message>
        <source>错误: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>  %1: 表不存在，已跳过</source>
        <translation>  %1: the table does not exist, skipped</translation>
    </message>
    <message>
        <source>错误: %1: %2</source>
        <translation>Error: %1: %2</translation>
    </message>
    <message>
        <source>错误: %1时数据被截断或改变: %2</source>
        <translation>Error: data was cut or changed while %1: %2</translation>
    </message>
    <message>
        <source>↩ 事务已回滚</source>
        <translation>↩ Transaction rolled back</translation>
    </message>
    <message>
        <source>❌ 事务回滚失败: %1</source>
        <translation>❌ Rolling back the transaction failed: %1</translation>
    </message>
    <message>
        <source>❌ 无法建立临时表，未做任何修改: %1</source>
        <translation>❌ Cannot create a temporary table, nothing was changed: %1</translation>
    </message>
    <message>
        <source>同服合区 WorldID %1 → %2</source>
        <translation>Same-server merge WorldID %1 → %2</translation>
    </message>
    <message>
        <source>✔ 已启动数据库事务</source>
        <translation>✔ Transaction started</translation>
    </message>
    <message>
        <source>══ 清理低等级角色 ══</source>
        <translation>══ Deleting low-level characters ══</translation>
    </message>
    <message>
        <source>❌ 清理失败</source>
        <translation>❌ Deleting failed</translation>
    </message>
    <message>
        <source>❌ 撤销文件写入失败</source>
        <translation>❌ Writing the undo file failed</translation>
    </message>
    <message>
        <source>══ 合并账号库 ══</source>
        <translation>══ Merging the account databases ══</translation>
    </message>
    <message>
        <source>❌ 账号合并失败</source>
        <translation>❌ Merging the accounts failed</translation>
    </message>
    <message>
        <source>══ 更新角色账号 ══</source>
        <translation>══ Updating the characters&apos; accounts ══</translation>
    </message>
    <message>
        <source>❌ 账号更新失败</source>
        <translation>❌ Updating the accounts failed</translation>
    </message>
    <message>
        <source>══ 执行合区 ══</source>
        <translation>══ Merging ══</translation>
    </message>
    <message>
        <source>❌ 合区失败</source>
        <translation>❌ The merge failed</translation>
    </message>
    <message>
        <source>══ 同步world字段 ══</source>
        <translation>══ Updating the world columns ══</translation>
    </message>
    <message>
        <source>❌ 同步失败</source>
        <translation>❌ Updating failed</translation>
    </message>
    <message>
        <source>✔ 事务已提交</source>
        <translation>✔ Transaction committed</translation>
    </message>
    <message>
        <source>撤销文件: %1</source>
        <translation>Undo file: %1</translation>
    </message>
    <message>
        <source>没有需要清理的角色</source>
        <translation>No characters to delete</translation>
    </message>
    <message>
        <source>待清理: %1 个</source>
        <translation>To delete: %1</translation>
    </message>
    <message>
        <source>✓ 删除 %1 个角色</source>
        <translation>✓ %1 characters deleted</translation>
    </message>
    <message>
        <source>错误: 无法读取账号表 %1.account 与 %2.account 的结构: %3</source>
        <translation>Error: cannot read the columns of %1.account and %2.account: %3</translation>
    </message>
    <message>
        <source>副区没有账号需要合并</source>
        <translation>The sub world has no accounts to merge</translation>
    </message>
    <message>
        <source>副区账号: %1 个, 冲突: %2 个</source>
        <translation>Sub accounts: %1, clashing: %2</translation>
    </message>
    <message>
        <source>  冲突账号 %1 → %2</source>
        <translation>  Clashing account %1 → %2</translation>
    </message>
    <message>
        <source>导入账号</source>
        <translation>importing the accounts</translation>
    </message>
    <message>
        <source>✓ 导入 %1 个账号, 冲突处理 %2 个</source>
        <translation>✓ %1 accounts imported, %2 clashes handled</translation>
    </message>
    <message>
        <source>没有需要更新的账号</source>
        <translation>No accounts to update</translation>
    </message>
    <message>
        <source>更新角色账号</source>
        <translation>updating the characters&apos; accounts</translation>
    </message>
    <message>
        <source>✓ 更新 %1 个账号的 %2 个角色</source>
        <translation>✓ %2 characters of %1 accounts updated</translation>
    </message>
    <message>
        <source>待修改: %1 个角色</source>
        <translation>To change: %1 characters</translation>
    </message>
    <message>
        <source>✓ 修改 %1 个角色</source>
        <translation>✓ %1 characters changed</translation>
    </message>
    <message>
        <source>没有需要更新的角色</source>
        <translation>No characters to update</translation>
    </message>
    <message>
        <source>✓ world字段同步完成</source>
        <translation>✓ World columns updated</translation>
    </message>
    <message numerus="yes">
        <source>  %1: %Ln条</source>
        <translation>
            <numerusform>  %1: %Ln row</numerusform>
            <numerusform>  %1: %Ln rows</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SessionTask</name>
    <message>
        <source>未连接到数据库</source>
        <translation>Not connected to a database</translation>
    </message>
    <message>
        <source>连接数据库失败: %1</source>
        <translation>Connecting to the database failed: %1</translation>
    </message>
</context>
<context>
    <name>Sql</name>
    <message>
        <source>无法精确写出的值: %1</source>
        <translation>A value that cannot be written exactly: %1</translation>
    </message>
    <message>
        <source>无法写出的浮点值: %1</source>
        <translation>A floating-point value that cannot be written: %1</translation>
    </message>
    <message>
        <source>无法精确写出的时间值: %1</source>
        <translation>A time value that cannot be written exactly: %1</translation>
    </message>
    <message>
        <source>无法精确写出的时间戳: %1</source>
        <translation>A timestamp that cannot be written exactly: %1</translation>
    </message>
    <message>
        <source>无法写入的值类型 %1</source>
        <translation>A value type that cannot be written: %1</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>未检测到 MySQL ODBC 驱动，程序可能无法连接数据库。

请下载安装 MySQL ODBC 驱动:
</source>
        <translation>No MySQL ODBC driver was found; the program may not reach the database.

Download and install the MySQL ODBC driver:
</translation>
    </message>
    <message>
        <source>

或者运行程序目录下的 mysql-connector-odbc-9.x.x-winx64.msi

是否继续启动程序？</source>
        <translation>

or run mysql-connector-odbc-9.x.x-winx64.msi from the program&apos;s folder.

Start the program anyway?</translation>
    </message>
    <message>
        <source>没有能显示中文的字体（请安装 fonts-noto-cjk 或 fonts-wqy-microhei），界面改用英文</source>
        <translation>No font shows Chinese (install fonts-noto-cjk or fonts-wqy-microhei); the window uses English</translation>
    </message>
</context>
<context>
    <name>UndoApply</name>
    <message>
        <source>无法读取撤销文件: %1</source>
        <translation>Cannot read the undo file: %1</translation>
    </message>
    <message>
        <source>%1 不是撤销文件</source>
        <translation>%1 is not an undo file</translation>
    </message>
    <message>
        <source>撤销文件不完整（没有结尾的校验行和 COMMIT），可能被截断，拒绝执行，未做任何修改</source>
        <translation>The undo file is incomplete (no closing check line and COMMIT), it may have been cut; not running it, nothing was changed</translation>
    </message>
    <message>
        <source>撤销文件的校验和不符，文件已被修改或损坏，拒绝执行，未做任何修改</source>
        <translation>The undo file&apos;s checksum does not match: the file was changed or damaged; not running it, nothing was changed</translation>
    </message>
    <message>
        <source>撤销文件含有程序不会写出的内容，拒绝执行，未做任何修改: %1</source>
        <translation>The undo file holds what the program does not write; not running it, nothing was changed: %1</translation>
    </message>
    <message>
        <source>语句不在程序写它的位置: %1</source>
        <translation>a statement where the program does not write it: %1</translation>
    </message>
    <message>
        <source>语句作用于文件头没有列出的数据库 %1</source>
        <translation>a statement on a database the header does not list: %1</translation>
    </message>
</context>
<context>
    <name>UndoDialog</name>
    <message>
        <source>撤销记录 - %1</source>
        <translation>Undo history - %1</translation>
    </message>
    <message>
        <source>撤销文件目录: %1</source>
        <translation>Undo files folder: %1</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>Operation</translation>
    </message>
    <message>
        <source>服务器</source>
        <translation>Server</translation>
    </message>
    <message>
        <source>数据库</source>
        <translation>Database</translation>
    </message>
    <message>
        <source>记录数</source>
        <translation>Rows</translation>
    </message>
    <message>
        <source>执行撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>文件: %1</source>
        <translation>File: %1</translation>
    </message>
    <message>
        <source>没有撤销文件</source>
        <translation>No undo files</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>请先连接数据库</source>
        <translation>Connect to a database first</translation>
    </message>
    <message>
        <source>无法撤销</source>
        <translation>Cannot undo</translation>
    </message>
    <message>
        <source>确认撤销</source>
        <translation>Confirm undo</translation>
    </message>
    <message>
        <source>将在 %1 上执行撤销文件，放回“%2”改动的数据。

%3

确定要继续吗？</source>
        <translation>The undo file runs on %1 and puts back what &quot;%2&quot; changed.

%3

Continue?</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>执行撤销文件: %1</source>
        <translation>Running the undo file: %1</translation>
    </message>
    <message>
        <source>撤销完成: %1</source>
        <translation>Undo done: %1</translation>
    </message>
    <message>
        <source>撤销失败: %1</source>
        <translation>Undo failed: %1</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>撤销完成，数据已放回。

%1</source>
        <translation>Undo done, the data is back.

%1</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>服务器不同</source>
        <translation>Another server</translation>
    </message>
    <message>
        <source>这个撤销文件写于另一台服务器。

文件: %1
当前服务器: %2

只有当这确实是同一台服务器（迁移过）时才能继续。它是同一台服务器吗？</source>
        <translation>This undo file was written on another server.

File: %1
This server: %2

Go on only if this really is the same server, moved. Is it the same server?</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>Size</translation>
    </message>
    <message>
        <source>清理旧文件...</source>
        <translation>Prune old files...</translation>
    </message>
    <message>
        <source>清理撤销文件</source>
        <translation>Prune undo files</translation>
    </message>
    <message>
        <source>删除已执行的撤销文件，以及早于多少天的撤销文件？
（每个数据库最新的一个撤销文件总会保留）</source>
        <translation>Remove the applied undo files, and undo files older than how many days?
(The newest undo file of each database is always kept.)</translation>
    </message>
    <message>
        <source>没有要删除的撤销文件</source>
        <translation>No undo files to remove</translation>
    </message>
    <message>
        <source>%1（已执行）</source>
        <translation>%1 (applied)</translation>
    </message>
    <message numerus="yes">
        <source>共 %Ln 个撤销文件，%1</source>
        <translation>
            <numerusform>%Ln undo file, %1</numerusform>
            <numerusform>%Ln undo files, %1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>将删除 %Ln 个撤销文件，共 %1。删除后不能再用它们撤销。

确定要继续吗？</source>
        <translation>
            <numerusform>This removes %Ln undo file, %1 in all. Its operation can no longer be undone.

Continue?</numerusform>
            <numerusform>This removes %Ln undo files, %1 in all. Their operations can no longer be undone.

Continue?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>已删除 %Ln 个撤销文件</source>
        <translation>
            <numerusform>Removed %Ln undo file</numerusform>
            <numerusform>Removed %Ln undo files</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>UndoFile</name>
    <message>
        <source>操作: %1</source>
        <translation>Operation: %1</translation>
    </message>
    <message>
        <source>时间: %1</source>
        <translation>Time: %1</translation>
    </message>
    <message>
        <source>服务器: %1</source>
        <translation>Server: %1</translation>
    </message>
    <message>
        <source>数据库: %1</source>
        <translation>Database: %1</translation>
    </message>
    <message>
        <source>撤销将写回的数据:</source>
        <translation>Data the undo writes back:</translation>
    </message>
    <message>
        <source>  %1: %2 条记录</source>
        <translation>  %1: %2 rows</translation>
    </message>
    <message>
        <source>%1 不是撤销文件</source>
        <translation>%1 is not an undo file</translation>
    </message>
    <message>
        <source>服务器上没有数据库 %1，未做任何修改</source>
        <translation>The server has no database %1; nothing was changed</translation>
    </message>
    <message>
        <source>检查角色ID失败: %1</source>
        <translation>Checking the character IDs failed: %1</translation>
    </message>
    <message>
        <source>以下 %1 个角色ID已被占用，撤销未执行，未做任何修改: %2%3</source>
        <translation>These %1 character IDs are taken; the undo did not run, nothing was changed: %2%3</translation>
    </message>
    <message>
        <source>读取会话设置失败: %1</source>
        <translation>Reading the session settings failed: %1</translation>
    </message>
    <message>
        <source>开启事务失败: %1</source>
        <translation>Starting the transaction failed: %1</translation>
    </message>
    <message>
        <source>撤销前的检查未通过（第 %1 项：%2），数据已不是操作后的样子，撤销未执行，未做任何修改</source>
        <translation>The check before the undo failed (check %1: %2): the data is no longer as the operation left it; the undo did not run, nothing was changed</translation>
    </message>
    <message>
        <source>撤销失败，已回滚，未做任何修改: %1
%2</source>
        <translation>The undo failed and was rolled back, nothing was changed: %1
%2</translation>
    </message>
    <message>
        <source>撤销后恢复会话设置失败: %1</source>
        <translation>Restoring the session settings after the undo failed: %1</translation>
    </message>
    <message>
        <source>无法读取当前数据库，撤销文件未能开始: %1</source>
        <translation>Cannot read the current database; the undo file was not started: %1</translation>
    </message>
    <message>
        <source>无法创建撤销文件目录 %1</source>
        <translation>Cannot create the undo files folder %1</translation>
    </message>
    <message>
        <source>无法创建撤销文件: %1</source>
        <translation>Cannot create the undo file: %1</translation>
    </message>
    <message>
        <source>读取表清单失败: %1</source>
        <translation>Reading the table list failed: %1</translation>
    </message>
    <message>
        <source>读取 t_var 失败: %1</source>
        <translation>Reading t_var failed: %1</translation>
    </message>
    <message>
        <source>t_var: %1 个世界的角色ID计数器都不低于操作时的值</source>
        <translation>t_var: the character ID counters of %1 worlds are not below their values at the time of the operation</translation>
    </message>
    <message>
        <source>写入撤销文件失败: %1</source>
        <translation>Writing the undo file failed: %1</translation>
    </message>
    <message>
        <source>读取 %1 失败: %2</source>
        <translation>Reading %1 failed: %2</translation>
    </message>
    <message>
        <source>读取表 %1 的字段失败: %2</source>
        <translation>Reading the columns of table %1 failed: %2</translation>
    </message>
    <message>
        <source>要放回的 %1 行不存在（%2 空闲）</source>
        <translation>the %1 rows to put back do not exist (%2 free)</translation>
    </message>
    <message>
        <source>读取 %1 时服务器给出 %2 条警告，撤销文件可能不精确</source>
        <translation>The server gave %2 warnings while reading %1; the undo file may not be exact</translation>
    </message>
    <message>
        <source>撤销文件不能写入这条语句: %1</source>
        <translation>The undo file cannot hold this statement: %1</translation>
    </message>
    <message>
        <source>撤销文件未开始</source>
        <translation>The undo file was not started</translation>
    </message>
    <message>
        <source>写入撤销文件 %1 失败: %2</source>
        <translation>Writing the undo file %1 failed: %2</translation>
    </message>
    <message>
        <source>%1 已经执行过（在 applied 目录中），不能再执行</source>
        <translation>%1 was applied already (it is in the applied folder); it cannot run again</translation>
    </message>
    <message>
        <source>这个撤销文件已经执行过（%1），不能再执行</source>
        <translation>This undo file was applied already (%1); it cannot run again</translation>
    </message>
    <message>
        <source>%1（文件没有记录服务器标识）</source>
        <translation>%1 (the file names no server identity)</translation>
    </message>
    <message>
        <source>无法读取: %1</source>
        <translation>cannot be read: %1</translation>
    </message>
    <message>
        <source>撤销文件写于另一台服务器，拒绝执行，未做任何修改。
文件: %1
当前服务器: %2
如果这确实是同一台服务器（迁移过），请确认后再执行</source>
        <translation>The undo file was written on another server; not running it, nothing was changed.
File: %1
This server: %2
If this really is the same server, moved, confirm it and run the file again</translation>
    </message>
    <message>
        <source>撤销文件作用于数据库 %1，而选择的是 %2，拒绝执行，未做任何修改</source>
        <translation>The undo file acts on the database %1, but %2 was chosen; not running it, nothing was changed</translation>
    </message>
    <message>
        <source>与操作后不同的行（%1 行）: %2%3</source>
        <translation>Rows no longer as the operation left them (%1): %2%3</translation>
    </message>
    <message>
        <source>撤销文件在执行时被改动，已回滚，未做任何修改</source>
        <translation>The undo file was changed while it ran; rolled back, nothing was changed</translation>
    </message>
    <message>
        <source>提交撤销时连接中断（%1）；重新连接后核对：撤销已提交</source>
        <translation>The connection broke at the undo&apos;s COMMIT (%1); checked again on a new connection: the undo was committed</translation>
    </message>
    <message>
        <source>提交撤销失败（%1）；核对结果：未提交，数据没有改动（%2）</source>
        <translation>Committing the undo failed (%1); checked: not committed, nothing was changed (%2)</translation>
    </message>
    <message>
        <source>提交撤销时连接中断（%1），结果未知：无法确认撤销是否已提交（%2）。请在服务器恢复后用同一文件预演（quorvel-cli undo FILE，不加 --yes）：检查通过说明撤销没有提交，可以再执行；报告检查未通过说明撤销已提交或数据已被改动</source>
        <translation>The connection broke at the undo&apos;s COMMIT (%1); the outcome is unknown: whether the undo was committed cannot be found out (%2). Once the server is back, rehearse the same file (quorvel-cli undo FILE, without --yes): a passed check means the undo was not committed and may run again; a failed check means it was committed or the data was changed since</translation>
    </message>
    <message>
        <source>无法读取服务器的标识，撤销文件未能开始: %1</source>
        <translation>Cannot read the server&apos;s identity; the undo file was not started: %1</translation>
    </message>
    <message>
        <source>要改回的 %1 行仍是操作后的样子（%2 未变）</source>
        <translation>the %1 rows to set back are still as the operation left them (%2 unchanged)</translation>
    </message>
    <message>
        <source>操作写入的 %1 行仍是操作后的样子（每一列都未变）</source>
        <translation>the %1 rows the operation wrote are still as it left them (every column unchanged)</translation>
    </message>
    <message>
        <source>操作写入的、%2 为这 %1 个值的行仍是操作后的样子（行数和每一列都未变）</source>
        <translation>the rows the operation wrote under these %1 values of %2 are still as it left them (their number and every column unchanged)</translation>
    </message>
    <message>
        <source>服务器与写入时相同 (%1)</source>
        <translation>the server is the one the file was written on (%1)</translation>
    </message>
    <message>
        <source>无法记录已执行的撤销文件: %1</source>
        <translation>Cannot record the applied undo files: %1</translation>
    </message>
    <message>
        <source>无法删除 %1</source>
        <translation>Cannot remove %1</translation>
    </message>
    <message>
        <source>这个撤销文件已经执行过（其执行记录已清理），不能再执行</source>
        <translation>This undo file was applied before (its record was pruned); it cannot run again</translation>
    </message>
</context>
<context>
    <name>UndoScript</name>
    <message>
        <source>一行中有多条语句</source>
        <translation>more than one statement on a line</translation>
    </message>
    <message>
        <source>语句没有以 ; 结束</source>
        <translation>the statement does not end in ;</translation>
    </message>
    <message>
        <source>不是程序写出的语句形式</source>
        <translation>not a statement the program writes</translation>
    </message>
    <message>
        <source>第 %1 个字符处: %2</source>
        <translation>at character %1: %2</translation>
    </message>
    <message>
        <source>不完整的十六进制值</source>
        <translation>an incomplete hexadecimal value</translation>
    </message>
    <message>
        <source>不完整的数字</source>
        <translation>an incomplete number</translation>
    </message>
    <message>
        <source>未结束的名称</source>
        <translation>an unterminated name</translation>
    </message>
    <message>
        <source>程序不会写出的文本</source>
        <translation>a text the program does not write</translation>
    </message>
    <message>
        <source>不完整的变量</source>
        <translation>an incomplete variable</translation>
    </message>
    <message>
        <source>注释</source>
        <translation>a comment</translation>
    </message>
    <message>
        <source>程序不会写出的字符</source>
        <translation>a character the program does not write</translation>
    </message>
</context>
<context>
    <name>UndoableTransaction</name>
    <message>
        <source>开启事务失败: %1</source>
        <translation>Starting the transaction failed: %1</translation>
    </message>
    <message>
        <source>撤销文件无法写入，未做任何修改: %1</source>
        <translation>The undo file cannot be written, nothing was changed: %1</translation>
    </message>
    <message>
        <source>事务未开始</source>
        <translation>The transaction has not begun</translation>
    </message>
    <message>
        <source>撤销文件写入失败，已回滚，未做任何修改: %1</source>
        <translation>Writing the undo file failed, rolled back, nothing was changed: %1</translation>
    </message>
    <message>
        <source>提交时连接中断（%1）；重新连接后核对：已提交</source>
        <translation>The connection broke at the COMMIT (%1); checked again on a new connection: committed</translation>
    </message>
    <message>
        <source>提交事务失败（%1）；核对结果：未提交，数据没有改动（%2）</source>
        <translation>Committing the transaction failed (%1); checked: not committed, nothing was changed (%2)</translation>
    </message>
    <message>
        <source>提交时连接中断（%1），结果未知：无法确认操作是否已提交（%2）。撤销文件保留在 %3；服务器恢复后用 quorvel-cli undo %3 预演（不加 --yes）：检查通过说明操作已提交，需要时再加 --yes 撤销；检查未通过说明操作没有提交或数据已被改动</source>
        <translation>The connection broke at the COMMIT (%1); the outcome is unknown: whether the operation was committed cannot be found out (%2). Its undo file is kept as %3; once the server is back, rehearse it with quorvel-cli undo %3 (without --yes): a passed check means the operation was committed (add --yes to undo it if needed); a failed check means it was not committed or the data was changed since</translation>
    </message>
    <message>
        <source>提交时连接中断（%1），结果未知：无法确认操作是否已提交（%2）。请重新连接后查看数据</source>
        <translation>The connection broke at the COMMIT (%1); the outcome is unknown: whether the operation was committed cannot be found out (%2). Connect again and look at the data</translation>
    </message>
</context>
<context>
    <name>WorldIdSelectorDialog</name>
    <message>
        <source>选择 WorldID</source>
        <translation>Choose WorldIDs</translation>
    </message>
    <message>
        <source>搜索过滤</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>输入WorldID进行搜索...</source>
        <translation>Type a WorldID to search...</translation>
    </message>
    <message>
        <source>可用的 WorldID</source>
        <translation>WorldIDs</translation>
    </message>
    <message>
        <source>批量选择</source>
        <translation>Choose...</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>All</translation>
    </message>
    <message>
        <source>全不选</source>
        <translation>None</translation>
    </message>
    <message>
        <source>反选</source>
        <translation>Invert</translation>
    </message>
    <message>
        <source>已选择: 0 / 0 个WorldID</source>
        <translation>Chosen: 0 / 0 WorldIDs</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>  (角色数: %1)</source>
        <translation>  (characters: %1)</translation>
    </message>
    <message>
        <source>已选择: %1 / %2 个WorldID</source>
        <translation>Chosen: %1 / %2 WorldIDs</translation>
    </message>
    <message numerus="yes">
        <source>  (共 %Ln 个角色)</source>
        <translation>
            <numerusform>  (%Ln character)</numerusform>
            <numerusform>  (%Ln characters)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ZoneWipe</name>
    <message>
        <source>账号删除失败，未做任何修改: %1</source>
        <translation>Deleting the accounts failed, nothing was changed: %1</translation>
    </message>
    <message>
        <source>正在删除账号库数据: %1</source>
        <translation>Deleting from the account databases: %1</translation>
    </message>
    <message>
        <source>保留 %1 个账号：它们在未删档的区服还有角色</source>
        <translation>Keeping %1 accounts: they have characters in worlds not wiped</translation>
    </message>
    <message>
        <source>账号库在另一台服务器上，账号的删除不在撤销文件中</source>
        <translation>The account databases are on another server; the account deletion is not in the undo file</translation>
    </message>
    <message>
        <source>账号删除失败: %1（角色已删除）</source>
        <translation>Deleting the accounts failed: %1 (the characters were deleted)</translation>
    </message>
    <message>
        <source>账号库数据删除完成</source>
        <translation>Account databases cleared</translation>
    </message>
    <message>
        <source>  %1.account: %2 个账号</source>
        <translation>  %1.account: %2 accounts</translation>
    </message>
    <message>
        <source>  保留 %1 个账号：它们在未删档的区服还有角色</source>
        <translation>  Keeping %1 accounts: they have characters in worlds not wiped</translation>
    </message>
    <message numerus="yes">
        <source>角色数据删除完成，共删除 %Ln 个角色</source>
        <translation>
            <numerusform>Character data deleted, %Ln character</numerusform>
            <numerusform>Character data deleted, %Ln characters</numerusform>
        </translation>
    </message>
    <message>
        <source>读取要删除的账号失败，未做任何修改: %1</source>
        <translation>Reading the accounts to delete failed, nothing was changed: %1</translation>
    </message>
</context>
<context>
    <name>ZoneWipeDialog</name>
    <message>
        <source>区服删档 - %1</source>
        <translation>Zone wipe - %1</translation>
    </message>
    <message>
        <source>选择要删档的区服</source>
        <translation>Worlds to wipe</translation>
    </message>
    <message>
        <source>区服数量: 0</source>
        <translation>Worlds: 0</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>All</translation>
    </message>
    <message>
        <source>取消全选</source>
        <translation>None</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>账号库选项 (自动检测)</source>
        <translation>Account databases (detected)</translation>
    </message>
    <message>
        <source>勾选要同时删除账号数据的库（不勾选则不删除账号）:</source>
        <translation>Tick the databases whose accounts are deleted as well (none ticked: no accounts are deleted):</translation>
    </message>
    <message>
        <source>⚠️ 删档前会写撤销文件：在没有角色占用被释放的ID之前，可在主窗口的“撤销记录”中撤销。</source>
        <translation>⚠️ An undo file is written before the wipe: it can be undone in &quot;Undo history&quot; of the main window as long as no character has taken the freed IDs.</translation>
    </message>
    <message>
        <source>开始删档</source>
        <translation>Start wipe</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>错误：数据库未连接</source>
        <translation>Error: not connected to the database</translation>
    </message>
    <message>
        <source>正在加载区服列表...</source>
        <translation>Loading the worlds...</translation>
    </message>
    <message>
        <source>未找到任何区服数据</source>
        <translation>No worlds found</translation>
    </message>
    <message>
        <source>WorldID: %1  (角色数量: %2)</source>
        <translation>WorldID: %1  (characters: %2)</translation>
    </message>
    <message>
        <source>区服数量: %1</source>
        <translation>Worlds: %1</translation>
    </message>
    <message>
        <source>加载完成，共 %1 个区服</source>
        <translation>Loaded %1 worlds</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Notice</translation>
    </message>
    <message>
        <source>删档操作正在进行中，请等待完成</source>
        <translation>A wipe is running; wait until it ends</translation>
    </message>
    <message>
        <source>请至少选择一个区服进行删档</source>
        <translation>Choose at least one world to wipe</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>⚠️ 同时删除账号库: %1
要删除的账号: %2 个
保留的账号: %3 个（在未删档的区服还有角色）

</source>
        <translation>⚠️ Accounts deleted as well in: %1
Accounts to delete: %2
Accounts kept: %3 (they have characters in worlds not wiped)

</translation>
    </message>
    <message>
        <source>将删除的数据:</source>
        <translation>Data to delete:</translation>
    </message>
    <message>
        <source>删除前先写撤销文件，可在“撤销记录”中撤销。各表行数见日志和详细信息。

确定要继续吗？</source>
        <translation>An undo file is written first; the wipe can be undone in &quot;Undo history&quot;. The rows of each table are in the log and the details.

Continue?</translation>
    </message>
    <message>
        <source>确认删档</source>
        <translation>Confirm wipe</translation>
    </message>
    <message>
        <source>最终确认</source>
        <translation>Final confirmation</translation>
    </message>
    <message>
        <source>区服删档</source>
        <translation>Zone wipe</translation>
    </message>
    <message>
        <source>========== 开始删档操作 ==========</source>
        <translation>========== Wipe started ==========</translation>
    </message>
    <message>
        <source>选中区服: %1</source>
        <translation>Worlds chosen: %1</translation>
    </message>
    <message>
        <source>预计删除角色数: %1</source>
        <translation>Characters to delete: %1</translation>
    </message>
    <message>
        <source>正在取消删档...</source>
        <translation>Cancelling the wipe...</translation>
    </message>
    <message>
        <source>确认关闭</source>
        <translation>Confirm closing</translation>
    </message>
    <message>
        <source>删档正在进行，关闭将取消删档并回滚。

确定要取消并关闭吗？</source>
        <translation>A wipe is running; closing cancels it and rolls it back.

Cancel it and close?</translation>
    </message>
    <message>
        <source>账号删除失败：%1 个角色已删除，账号未全部删除，详见日志</source>
        <translation>Deleting the accounts failed: %1 characters were deleted, not all their accounts; see the log</translation>
    </message>
    <message>
        <source>删档已取消，数据已回滚</source>
        <translation>The wipe was cancelled and rolled back</translation>
    </message>
    <message>
        <source>删档操作失败，数据已回滚</source>
        <translation>The wipe failed and was rolled back</translation>
    </message>
    <message>
        <source>========== 删档操作完成 ==========</source>
        <translation>========== Wipe done ==========</translation>
    </message>
    <message>
        <source>

撤销文件: %1</source>
        <translation>

Undo file: %1</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>%1

撤销文件: %2</source>
        <translation>%1

Undo file: %2</translation>
    </message>
    <message>
        <source>即将在 %1 上删除以下区服的所有数据：

区服ID: %2
角色总数: %3

</source>
        <translation>About to delete all data of these zones on %1:

World IDs: %2
Characters: %3

</translation>
    </message>
    <message>
        <source>这是最终确认！

确定要在 %1 上执行删档操作吗？</source>
        <translation>This is the final confirmation!

Wipe the zones on %1?</translation>
    </message>
    <message numerus="yes">
        <source>删档完成！

共删除 %Ln 个角色数据</source>
        <translation>
            <numerusform>Wipe done!

%Ln character deleted</numerusform>
            <numerusform>Wipe done!

%Ln characters deleted</numerusform>
        </translation>
    </message>
</context>
</TS>
