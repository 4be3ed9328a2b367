<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="zh_CN">
<context>
    <name>AccountChange</name>
    <message>
        <source>无法统计账号: %1</source>
        <translation>无法统计账号: %1</translation>
    </message>
    <message>
        <source>账号不存在: %1</source>
        <translation>账号不存在: %1</translation>
    </message>
</context>
<context>
    <name>AccountCleanup</name>
    <message>
        <source>删除 %1 的账号失败: %2</source>
        <translation>删除 %1 的账号失败: %2</translation>
    </message>
    <message>
        <source>库 %1 成功删除 %2 个账号</source>
        <translation>库 %1 成功删除 %2 个账号</translation>
    </message>
    <message>
        <source>查询web库失败: </source>
        <translation>查询web库失败: </translation>
    </message>
    <message>
        <source>未检测到账号库</source>
        <translation>未检测到账号库</translation>
    </message>
    <message>
        <source>检测到 %1 个账号库: %2</source>
        <translation>检测到 %1 个账号库: %2</translation>
    </message>
    <message>
        <source>没有找到需要删除的账号</source>
        <translation>没有找到需要删除的账号</translation>
    </message>
    <message>
        <source>正在处理账号库: %1</source>
        <translation>正在处理账号库: %1</translation>
    </message>
    <message>
        <source>删除 %1 的账号失败，该库已回滚: %2</source>
        <translation>删除 %1 的账号失败，该库已回滚: %2</translation>
    </message>
    <message>
        <source>此前的账号库已删除 %1 个账号</source>
        <translation>此前的账号库已删除 %1 个账号</translation>
    </message>
    <message>
        <source>无法统计 %1 的账号</source>
        <translation>无法统计 %1 的账号</translation>
    </message>
    <message>
        <source>无法连接账号服务器 %1:%2: %3</source>
        <translation>无法连接账号服务器 %1:%2: %3</translation>
    </message>
    <message numerus="yes">
        <source>所有账号库共删除 %Ln 个账号</source>
        <translation>
            <numerusform>所有账号库共删除 %Ln 个账号</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>找到 %Ln 个账号需要删除</source>
        <translation>
            <numerusform>找到 %Ln 个账号需要删除</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>AccountCleanup::AccountConnections</name>
    <message>
        <source>无法连接账号数据库 %1 (%2:%3): %4</source>
        <translation>无法连接账号数据库 %1 (%2:%3): %4</translation>
    </message>
    <message>
        <source>使用 ODBC 驱动 [%1] 连接 %2 成功</source>
        <translation>使用 ODBC 驱动 [%1] 连接 %2 成功</translation>
    </message>
    <message>
        <source>使用 QMYSQL 驱动连接 %1 成功</source>
        <translation>使用 QMYSQL 驱动连接 %1 成功</translation>
    </message>
</context>
<context>
    <name>AccountManagerDialog</name>
    <message>
        <source>账号管理 - %1@%2</source>
        <translation>账号管理 - %1@%2</translation>
    </message>
    <message>
        <source>搜索账号:</source>
        <translation>搜索账号:</translation>
    </message>
    <message>
        <source>输入账号名搜索...</source>
        <translation>输入账号名搜索...</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>账号名</source>
        <translation>账号名</translation>
    </message>
    <message>
        <source>点数</source>
        <translation>点数</translation>
    </message>
    <message>
        <source>额外点数</source>
        <translation>额外点数</translation>
    </message>
    <message>
        <source>在线</source>
        <translation>在线</translation>
    </message>
    <message>
        <source>锁定</source>
        <translation>锁定</translation>
    </message>
    <message>
        <source>单个账号操作</source>
        <translation>单个账号操作</translation>
    </message>
    <message>
        <source>注册账号</source>
        <translation>注册账号</translation>
    </message>
    <message>
        <source>删除账号</source>
        <translation>删除账号</translation>
    </message>
    <message>
        <source>修改密码</source>
        <translation>修改密码</translation>
    </message>
    <message>
        <source>修改点数</source>
        <translation>修改点数</translation>
    </message>
    <message>
        <source>批量操作 (对所有账号)</source>
        <translation>批量操作 (对所有账号)</translation>
    </message>
    <message>
        <source>一键增加点数</source>
        <translation>一键增加点数</translation>
    </message>
    <message>
        <source>一键清空点数</source>
        <translation>一键清空点数</translation>
    </message>
    <message>
        <source>一键设置点数</source>
        <translation>一键设置点数</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>无法连接账号数据库: </source>
        <translation>无法连接账号数据库: </translation>
    </message>
    <message>
        <source>是</source>
        <translation>是</translation>
    </message>
    <message>
        <source>否</source>
        <translation>否</translation>
    </message>
    <message>
        <source>确认操作</source>
        <translation>确认操作</translation>
    </message>
    <message>
        <source>  account: %1 条记录（点数）</source>
        <translation>  account: %1 条记录（点数）</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>输入账号名</source>
        <translation>输入账号名</translation>
    </message>
    <message>
        <source>输入密码</source>
        <translation>输入密码</translation>
    </message>
    <message>
        <source>账号名:</source>
        <translation>账号名:</translation>
    </message>
    <message>
        <source>密  码:</source>
        <translation>密  码:</translation>
    </message>
    <message>
        <source>自动添加后缀 </source>
        <translation>自动添加后缀 </translation>
    </message>
    <message>
        <source>注册</source>
        <translation>注册</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>账号名不能为空！</source>
        <translation>账号名不能为空！</translation>
    </message>
    <message>
        <source>密码不能为空！</source>
        <translation>密码不能为空！</translation>
    </message>
    <message>
        <source>账号 %1 注册成功！</source>
        <translation>账号 %1 注册成功！</translation>
    </message>
    <message>
        <source>注册失败: </source>
        <translation>注册失败: </translation>
    </message>
    <message>
        <source>确定要删除账号 %1 吗？</source>
        <translation>确定要删除账号 %1 吗？</translation>
    </message>
    <message>
        <source>

⚠️ 该账号在 %1 还有 %2 个角色，删除账号后这些角色将无法登录。</source>
        <translation>

⚠️ 该账号在 %1 还有 %2 个角色，删除账号后这些角色将无法登录。</translation>
    </message>
    <message>
        <source>

未连接角色库，无法统计该账号的角色。</source>
        <translation>

未连接角色库，无法统计该账号的角色。</translation>
    </message>
    <message>
        <source>确认删除</source>
        <translation>确认删除</translation>
    </message>
    <message>
        <source>  account: %1 条记录</source>
        <translation>  account: %1 条记录</translation>
    </message>
    <message>
        <source>账号 %1 已删除！</source>
        <translation>账号 %1 已删除！</translation>
    </message>
    <message>
        <source>删除失败: </source>
        <translation>删除失败: </translation>
    </message>
    <message>
        <source>为账号 %1 设置新密码:</source>
        <translation>为账号 %1 设置新密码:</translation>
    </message>
    <message>
        <source>账号 %1 密码已修改！</source>
        <translation>账号 %1 密码已修改！</translation>
    </message>
    <message>
        <source>修改失败: </source>
        <translation>修改失败: </translation>
    </message>
    <message>
        <source>账号 %1 当前点数: %2
请输入新点数:</source>
        <translation>账号 %1 当前点数: %2
请输入新点数:</translation>
    </message>
    <message>
        <source>账号 %1 点数已修改为 %2！</source>
        <translation>账号 %1 点数已修改为 %2！</translation>
    </message>
    <message>
        <source>编辑账号 - %1</source>
        <translation>编辑账号 - %1</translation>
    </message>
    <message>
        <source>账号: &lt;b&gt;%1&lt;/b&gt;</source>
        <translation>账号: &lt;b&gt;%1&lt;/b&gt;</translation>
    </message>
    <message>
        <source>留空则不修改密码</source>
        <translation>留空则不修改密码</translation>
    </message>
    <message>
        <source>新密码:</source>
        <translation>新密码:</translation>
    </message>
    <message>
        <source>点数:</source>
        <translation>点数:</translation>
    </message>
    <message>
        <source>额外点数:</source>
        <translation>额外点数:</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>没有任何修改。</source>
        <translation>没有任何修改。</translation>
    </message>
    <message>
        <source>编辑账号</source>
        <translation>编辑账号</translation>
    </message>
    <message>
        <source>账号 %1 已更新！</source>
        <translation>账号 %1 已更新！</translation>
    </message>
    <message>
        <source>更新失败: </source>
        <translation>更新失败: </translation>
    </message>
    <message>
        <source>为所有账号增加多少点数?</source>
        <translation>为所有账号增加多少点数?</translation>
    </message>
    <message>
        <source>确定要为所有账号增加 %1 点数吗？</source>
        <translation>确定要为所有账号增加 %1 点数吗？</translation>
    </message>
    <message>
        <source>已为所有账号增加 %1 点数！</source>
        <translation>已为所有账号增加 %1 点数！</translation>
    </message>
    <message>
        <source>操作失败: </source>
        <translation>操作失败: </translation>
    </message>
    <message>
        <source>确定要清空所有账号的点数吗？</source>
        <translation>确定要清空所有账号的点数吗？</translation>
    </message>
    <message>
        <source>已清空所有账号点数！</source>
        <translation>已清空所有账号点数！</translation>
    </message>
    <message>
        <source>将所有账号点数设置为:</source>
        <translation>将所有账号点数设置为:</translation>
    </message>
    <message>
        <source>确定要将所有账号点数设置为 %1 吗？</source>
        <translation>确定要将所有账号点数设置为 %1 吗？</translation>
    </message>
    <message>
        <source>已将所有账号点数设置为 %1！</source>
        <translation>已将所有账号点数设置为 %1！</translation>
    </message>
    <message>
        <source>读取账号失败: %1</source>
        <translation>读取账号失败: %1</translation>
    </message>
</context>
<context>
    <name>AccountStore</name>
    <message>
        <source>账号不存在（可能已被删除）</source>
        <translation>账号不存在（可能已被删除）</translation>
    </message>
    <message>
        <source>账号已存在: %1</source>
        <translation>账号已存在: %1</translation>
    </message>
    <message>
        <source>撤销文件无法写入，未做任何修改: %1</source>
        <translation>撤销文件无法写入，未做任何修改: %1</translation>
    </message>
    <message>
        <source>删除账号 %1</source>
        <translation>删除账号 %1</translation>
    </message>
    <message>
        <source>所有账号增加点数 %1</source>
        <translation>所有账号增加点数 %1</translation>
    </message>
    <message>
        <source>清空所有账号点数</source>
        <translation>清空所有账号点数</translation>
    </message>
    <message>
        <source>所有账号点数设为 %1</source>
        <translation>所有账号点数设为 %1</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <source>磁盘已满或文件大小超出限制</source>
        <translation>磁盘已满或文件大小超出限制</translation>
    </message>
</context>
<context>
    <name>BackupManager</name>
    <message>
        <source>已有备份或恢复操作正在进行，请等待完成</source>
        <translation>已有备份或恢复操作正在进行，请等待完成</translation>
    </message>
    <message>
        <source>无法在临时目录 %1 写入密码文件，未启动 %2</source>
        <translation>无法在临时目录 %1 写入密码文件，未启动 %2</translation>
    </message>
    <message>
        <source>开始备份数据库: %1</source>
        <translation>开始备份数据库: %1</translation>
    </message>
    <message>
        <source>开始恢复数据库: %1</source>
        <translation>开始恢复数据库: %1</translation>
    </message>
    <message>
        <source>无法创建备份文件 %1: %2</source>
        <translation>无法创建备份文件 %1: %2</translation>
    </message>
    <message>
        <source>执行命令: %1 %2</source>
        <translation>执行命令: %1 %2</translation>
    </message>
    <message>
        <source>mysqldump 正在运行...</source>
        <translation>mysqldump 正在运行...</translation>
    </message>
    <message>
        <source>备份文件不存在: </source>
        <translation>备份文件不存在: </translation>
    </message>
    <message>
        <source>备份文件: %1 (%2 KB)</source>
        <translation>备份文件: %1 (%2 KB)</translation>
    </message>
    <message>
        <source>执行命令: %1 %2 &lt; %3</source>
        <translation>执行命令: %1 %2 &lt; %3</translation>
    </message>
    <message>
        <source>mysql 正在运行...</source>
        <translation>mysql 正在运行...</translation>
    </message>
    <message>
        <source>无法启动 mysqldump，请确保程序目录下存在 mysqldump.exe 及其依赖 DLL</source>
        <translation>无法启动 mysqldump，请确保程序目录下存在 mysqldump.exe 及其依赖 DLL</translation>
    </message>
    <message>
        <source>无法启动 mysql，请确保程序目录下存在 mysql.exe 及其依赖 DLL</source>
        <translation>无法启动 mysql，请确保程序目录下存在 mysql.exe 及其依赖 DLL</translation>
    </message>
    <message>
        <source>%1 异常终止</source>
        <translation>%1 异常终止</translation>
    </message>
    <message>
        <source>备份失败，退出码: %1</source>
        <translation>备份失败，退出码: %1</translation>
    </message>
    <message>
        <source>恢复失败，退出码: %1</source>
        <translation>恢复失败，退出码: %1</translation>
    </message>
    <message>
        <source>（mysql 已执行的语句不会回滚，数据库可能只部分恢复，请用完整的备份再恢复一次）</source>
        <translation>（mysql 已执行的语句不会回滚，数据库可能只部分恢复，请用完整的备份再恢复一次）</translation>
    </message>
    <message>
        <source>mysqldump 的输出不完整（没有 &quot;-- Dump completed&quot;）</source>
        <translation>mysqldump 的输出不完整（没有 &quot;-- Dump completed&quot;）</translation>
    </message>
    <message>
        <source>无法替换已有的文件 %1</source>
        <translation>无法替换已有的文件 %1</translation>
    </message>
    <message>
        <source>无法把备份命名为 %1</source>
        <translation>无法把备份命名为 %1</translation>
    </message>
    <message>
        <source>备份完成: %1 (%2 KB)</source>
        <translation>备份完成: %1 (%2 KB)</translation>
    </message>
    <message>
        <source>恢复完成: %1</source>
        <translation>恢复完成: %1</translation>
    </message>
    <message>
        <source>备份文件在检查之后读取失败，恢复已中止</source>
        <translation>备份文件在检查之后读取失败，恢复已中止</translation>
    </message>
    <message>
        <source>写入备份文件失败: %1</source>
        <translation>写入备份文件失败: %1</translation>
    </message>
</context>
<context>
    <name>BankDialog</name>
    <message>
        <source>仓库查看 - %1 - %2</source>
        <translation>仓库查看 - %1 - %2</translation>
    </message>
    <message>
        <source>角色 %1 (GUID: %2) 的仓库物品</source>
        <translation>角色 %1 (GUID: %2) 的仓库物品</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>物品ID</source>
        <translation>物品ID</translation>
    </message>
    <message>
        <source>物品名称</source>
        <translation>物品名称</translation>
    </message>
    <message>
        <source>数量</source>
        <translation>数量</translation>
    </message>
    <message>
        <source>绑定状态</source>
        <translation>绑定状态</translation>
    </message>
    <message>
        <source>创建者</source>
        <translation>创建者</translation>
    </message>
    <message>
        <source>加载中...</source>
        <translation>加载中...</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>未绑定</source>
        <translation>未绑定</translation>
    </message>
    <message>
        <source>已绑定</source>
        <translation>已绑定</translation>
    </message>
    <message>
        <source>装备绑定</source>
        <translation>装备绑定</translation>
    </message>
    <message>
        <source>状态%1</source>
        <translation>状态%1</translation>
    </message>
    <message>
        <source>数据库连接失败</source>
        <translation>数据库连接失败</translation>
    </message>
    <message>
        <source>查询失败: %1</source>
        <translation>查询失败: %1</translation>
    </message>
    <message>
        <source>共加载 %1 件仓库物品</source>
        <translation>共加载 %1 件仓库物品</translation>
    </message>
</context>
<context>
    <name>ChangeConfirm</name>
    <message>
        <source>

将改动的数据（服务器上统计）:
</source>
        <translation>

将改动的数据（服务器上统计）:
</translation>
    </message>
    <message>
        <source>  无</source>
        <translation>  无</translation>
    </message>
    <message>
        <source>

改动前先写撤销文件，可在“撤销记录”中撤销。</source>
        <translation>

改动前先写撤销文件，可在“撤销记录”中撤销。</translation>
    </message>
    <message>
        <source>

确定要继续吗？</source>
        <translation>

确定要继续吗？</translation>
    </message>
    <message>
        <source>

撤销文件: %1</source>
        <translation>

撤销文件: %1</translation>
    </message>
</context>
<context>
    <name>CharGuidLedger</name>
    <message>
        <source>读取 t_var 失败: %1</source>
        <translation>读取 t_var 失败: %1</translation>
    </message>
    <message>
        <source>WorldID %1 在 t_var 中没有计数器</source>
        <translation>WorldID %1 在 t_var 中没有计数器</translation>
    </message>
    <message>
        <source>WorldID %1 的计数器刚刚被游戏改变（有新角色创建），请重试</source>
        <translation>WorldID %1 的计数器刚刚被游戏改变（有新角色创建），请重试</translation>
    </message>
    <message>
        <source>角色ID上限 %1</source>
        <translation>角色ID上限 %1</translation>
    </message>
    <message>
        <source>WorldID %1 的计数器 %2</source>
        <translation>WorldID %1 的计数器 %2</translation>
    </message>
    <message>
        <source>读取角色ID失败: %1</source>
        <translation>读取角色ID失败: %1</translation>
    </message>
    <message>
        <source>WorldID %1 的角色 %2</source>
        <translation>WorldID %1 的角色 %2</translation>
    </message>
    <message>
        <source>WorldID %1 在 t_var 中没有计数器（已有: %2）</source>
        <translation>WorldID %1 在 t_var 中没有计数器（已有: %2）</translation>
    </message>
    <message>
        <source>WorldID %1 的角色ID不足：需要 %2 个新ID，计数器 %3 之后只有 %4 个空闲ID，再往上是%5</source>
        <translation>WorldID %1 的角色ID不足：需要 %2 个新ID，计数器 %3 之后只有 %4 个空闲ID，再往上是%5</translation>
    </message>
    <message>
        <source>更新 WorldID %1 的 maxcharguid 失败: %2</source>
        <translation>更新 WorldID %1 的 maxcharguid 失败: %2</translation>
    </message>
    <message>
        <source>更新 WorldID %1 的 maxcharguid 失败: 改变了 %2 行</source>
        <translation>更新 WorldID %1 的 maxcharguid 失败: 改变了 %2 行</translation>
    </message>
    <message>
        <source>t_var 中 WorldID %1 有多行计数器，无法确定它的下一个角色ID</source>
        <translation>t_var 中 WorldID %1 有多行计数器，无法确定它的下一个角色ID</translation>
    </message>
    <message>
        <source>t_var 没有 worldid 列，WorldID %1 的角色占着两段ID（计数器 %2 和 %3），无法确定它的计数器</source>
        <translation>t_var 没有 worldid 列，WorldID %1 的角色占着两段ID（计数器 %2 和 %3），无法确定它的计数器</translation>
    </message>
</context>
<context>
    <name>CharacterCopier</name>
    <message>
        <source>========== 开始复制角色 ==========</source>
        <translation>========== 开始复制角色 ==========</translation>
    </message>
    <message>
        <source>源CharGUID=%1, 目标账号=%2, 新名称=%3</source>
        <translation>源CharGUID=%1, 目标账号=%2, 新名称=%3</translation>
    </message>
    <message>
        <source>错误: 读取表清单失败: %1</source>
        <translation>错误: 读取表清单失败: %1</translation>
    </message>
    <message>
        <source>读取表清单失败: %1</source>
        <translation>读取表清单失败: %1</translation>
    </message>
    <message>
        <source>复制角色 CharGUID %1</source>
        <translation>复制角色 CharGUID %1</translation>
    </message>
    <message>
        <source>错误: </source>
        <translation>错误: </translation>
    </message>
    <message>
        <source>已取消，复制已回滚</source>
        <translation>已取消，复制已回滚</translation>
    </message>
    <message>
        <source>错误: 获取源角色信息失败</source>
        <translation>错误: 获取源角色信息失败</translation>
    </message>
    <message>
        <source>获取源角色信息失败</source>
        <translation>获取源角色信息失败</translation>
    </message>
    <message>
        <source>源角色 zoneworldid: %1</source>
        <translation>源角色 zoneworldid: %1</translation>
    </message>
    <message>
        <source>错误: 获取新charguid失败: %1</source>
        <translation>错误: 获取新charguid失败: %1</translation>
    </message>
    <message>
        <source>获取新charguid失败: %1</source>
        <translation>获取新charguid失败: %1</translation>
    </message>
    <message>
        <source>错误: %1</source>
        <translation>错误: %1</translation>
    </message>
    <message>
        <source>更新maxcharguid失败: %1</source>
        <translation>更新maxcharguid失败: %1</translation>
    </message>
    <message>
        <source>分配新CharGUID: %1</source>
        <translation>分配新CharGUID: %1</translation>
    </message>
    <message>
        <source>错误: 复制t_char失败: %1</source>
        <translation>错误: 复制t_char失败: %1</translation>
    </message>
    <message>
        <source>复制角色基础数据失败: %1</source>
        <translation>复制角色基础数据失败: %1</translation>
    </message>
    <message>
        <source>t_char 复制成功</source>
        <translation>t_char 复制成功</translation>
    </message>
    <message>
        <source>警告: 表 %1 不存在，跳过</source>
        <translation>警告: 表 %1 不存在，跳过</translation>
    </message>
    <message>
        <source>错误: 复制%1失败: %2</source>
        <translation>错误: 复制%1失败: %2</translation>
    </message>
    <message>
        <source>复制%1失败: %2</source>
        <translation>复制%1失败: %2</translation>
    </message>
    <message>
        <source>警告: 表 t_iteminfo 不存在，跳过</source>
        <translation>警告: 表 t_iteminfo 不存在，跳过</translation>
    </message>
    <message>
        <source>t_iteminfo 全局最大 guid: %1</source>
        <translation>t_iteminfo 全局最大 guid: %1</translation>
    </message>
    <message>
        <source>错误: 查询t_iteminfo失败: %1</source>
        <translation>错误: 查询t_iteminfo失败: %1</translation>
    </message>
    <message>
        <source>查询t_iteminfo失败: %1</source>
        <translation>查询t_iteminfo失败: %1</translation>
    </message>
    <message>
        <source>从源角色读取到 %1 条装备记录</source>
        <translation>从源角色读取到 %1 条装备记录</translation>
    </message>
    <message>
        <source>错误: 复制t_iteminfo失败: %1</source>
        <translation>错误: 复制t_iteminfo失败: %1</translation>
    </message>
    <message>
        <source>复制t_iteminfo失败: %1</source>
        <translation>复制t_iteminfo失败: %1</translation>
    </message>
    <message>
        <source>t_iteminfo: 复制了 %1 条装备记录，新 guid 范围: %2-%3</source>
        <translation>t_iteminfo: 复制了 %1 条装备记录，新 guid 范围: %2-%3</translation>
    </message>
    <message>
        <source>撤销文件: %1</source>
        <translation>撤销文件: %1</translation>
    </message>
    <message>
        <source>========== 角色复制完成 ==========</source>
        <translation>========== 角色复制完成 ==========</translation>
    </message>
    <message>
        <source>新CharGUID=%1, 新角色名=%2</source>
        <translation>新CharGUID=%1, 新角色名=%2</translation>
    </message>
    <message>
        <source>开始复制宠物数据...</source>
        <translation>开始复制宠物数据...</translation>
    </message>
    <message>
        <source>宠物当前最大 lpetguid: %1</source>
        <translation>宠物当前最大 lpetguid: %1</translation>
    </message>
    <message>
        <source>查询%1失败: %2</source>
        <translation>查询%1失败: %2</translation>
    </message>
    <message>
        <source>%1: 复制了 %2 只宠物</source>
        <translation>%1: 复制了 %2 只宠物</translation>
    </message>
    <message>
        <source>警告: 表 t_pet_iteminfo 不存在，跳过</source>
        <translation>警告: 表 t_pet_iteminfo 不存在，跳过</translation>
    </message>
    <message>
        <source>t_pet_iteminfo 最大 guid: %1</source>
        <translation>t_pet_iteminfo 最大 guid: %1</translation>
    </message>
    <message>
        <source>复制t_pet_iteminfo失败: %1</source>
        <translation>复制t_pet_iteminfo失败: %1</translation>
    </message>
    <message>
        <source>t_pet_iteminfo: 复制了 %1 条宠物装备记录</source>
        <translation>t_pet_iteminfo: 复制了 %1 条宠物装备记录</translation>
    </message>
    <message>
        <source>宠物数据复制完成</source>
        <translation>宠物数据复制完成</translation>
    </message>
    <message>
        <source>错误: 角色名 %1 已被占用</source>
        <translation>错误: 角色名 %1 已被占用</translation>
    </message>
    <message>
        <source>角色名 %1 已被占用（确认之后被占用），未做任何修改</source>
        <translation>角色名 %1 已被占用（确认之后被占用），未做任何修改</translation>
    </message>
    <message numerus="yes">
        <source>%1: 复制了 %Ln 条记录</source>
        <translation>
            <numerusform>%1: 复制了 %Ln 条记录</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CharacterDeleter</name>
    <message>
        <source>错误: </source>
        <translation>错误: </translation>
    </message>
    <message>
        <source>未连接到数据库</source>
        <translation>未连接到数据库</translation>
    </message>
    <message>
        <source>开始删除 zoneworldid IN (%1) 的角色数据...</source>
        <translation>开始删除 zoneworldid IN (%1) 的角色数据...</translation>
    </message>
    <message>
        <source>查询角色失败: </source>
        <translation>查询角色失败: </translation>
    </message>
    <message>
        <source>没有找到符合条件的角色</source>
        <translation>没有找到符合条件的角色</translation>
    </message>
    <message>
        <source>区服删档 WorldID %1</source>
        <translation>区服删档 WorldID %1</translation>
    </message>
    <message>
        <source>已取消，所有删除已回滚</source>
        <translation>已取消，所有删除已回滚</translation>
    </message>
    <message>
        <source>撤销文件: %1</source>
        <translation>撤销文件: %1</translation>
    </message>
    <message>
        <source>读取表清单失败: </source>
        <translation>读取表清单失败: </translation>
    </message>
    <message>
        <source>清理 t_relation 反向关系失败: %1</source>
        <translation>清理 t_relation 反向关系失败: %1</translation>
    </message>
    <message>
        <source>删除 t_char 失败: %1</source>
        <translation>删除 t_char 失败: %1</translation>
    </message>
    <message>
        <source>删除 %1 失败: %2</source>
        <translation>删除 %1 失败: %2</translation>
    </message>
    <message>
        <source>[单角色异常修复] 开始修复 CharGUID=%1...</source>
        <translation>[单角色异常修复] 开始修复 CharGUID=%1...</translation>
    </message>
    <message>
        <source>[单角色异常修复] CharGUID=%1 没有发现重复数据</source>
        <translation>[单角色异常修复] CharGUID=%1 没有发现重复数据</translation>
    </message>
    <message>
        <source>查询%1失败: %2</source>
        <translation>查询%1失败: %2</translation>
    </message>
    <message>
        <source>[单角色异常修复] 完成！共删除 %1 条重复记录</source>
        <translation>[单角色异常修复] 完成！共删除 %1 条重复记录</translation>
    </message>
    <message>
        <source>修复技能 CharGUID %1</source>
        <translation>修复技能 CharGUID %1</translation>
    </message>
    <message>
        <source>已取消，所有修改已回滚</source>
        <translation>已取消，所有修改已回滚</translation>
    </message>
    <message>
        <source>[%1] 发现 %2 组重复，开始修复...</source>
        <translation>[%1] 发现 %2 组重复，开始修复...</translation>
    </message>
    <message>
        <source>删除重复%1失败: %2</source>
        <translation>删除重复%1失败: %2</translation>
    </message>
    <message>
        <source>删除%1失败: %2</source>
        <translation>删除%1失败: %2</translation>
    </message>
    <message>
        <source>批量插入%1失败: %2</source>
        <translation>批量插入%1失败: %2</translation>
    </message>
    <message>
        <source>[%1] 删除 %2 条重复，重排 %3 条记录</source>
        <translation>[%1] 删除 %2 条重复，重排 %3 条记录</translation>
    </message>
    <message>
        <source>开始删除角色 CharGUID=%1</source>
        <translation>开始删除角色 CharGUID=%1</translation>
    </message>
    <message>
        <source>删除角色 CharGUID %1</source>
        <translation>删除角色 CharGUID %1</translation>
    </message>
    <message>
        <source>未找到要删除的角色</source>
        <translation>未找到要删除的角色</translation>
    </message>
    <message>
        <source>角色 %1 删除成功</source>
        <translation>角色 %1 删除成功</translation>
    </message>
    <message numerus="yes">
        <source>找到 %Ln 个角色需要删除</source>
        <translation>
            <numerusform>找到 %Ln 个角色需要删除</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>删除完成！共删除 %Ln 条记录</source>
        <translation>
            <numerusform>删除完成！共删除 %Ln 条记录</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CharacterEdit</name>
    <message>
        <source>角色名</source>
        <translation>角色名</translation>
    </message>
    <message>
        <source>账号名</source>
        <translation>账号名</translation>
    </message>
    <message>
        <source>称号</source>
        <translation>称号</translation>
    </message>
    <message>
        <source>%1不能为空</source>
        <translation>%1不能为空</translation>
    </message>
    <message>
        <source>%1过长：最多 %2 %3（当前 %4）</source>
        <translation>%1过长：最多 %2 %3（当前 %4）</translation>
    </message>
    <message>
        <source>字节</source>
        <translation>字节</translation>
    </message>
    <message>
        <source>个字符</source>
        <translation>个字符</translation>
    </message>
    <message>
        <source>角色名已存在: %1</source>
        <translation>角色名已存在: %1</translation>
    </message>
    <message>
        <source>编辑角色 CharGUID %1</source>
        <translation>编辑角色 CharGUID %1</translation>
    </message>
    <message>
        <source>无法修改 &quot;%1&quot;，可改的字段: %2</source>
        <translation>无法修改 &quot;%1&quot;，可改的字段: %2</translation>
    </message>
    <message>
        <source>%1 需要整数，而不是 &quot;%2&quot;</source>
        <translation>%1 需要整数，而不是 &quot;%2&quot;</translation>
    </message>
    <message>
        <source>set 需要至少一个 FIELD=VALUE</source>
        <translation>set 需要至少一个 FIELD=VALUE</translation>
    </message>
</context>
<context>
    <name>CharacterEditDialog</name>
    <message>
        <source>编辑角色 - CharGUID: %1 (%2) - %3</source>
        <translation>编辑角色 - CharGUID: %1 (%2) - %3</translation>
    </message>
    <message>
        <source>基本信息</source>
        <translation>基本信息</translation>
    </message>
    <message>
        <source>经济属性</source>
        <translation>经济属性</translation>
    </message>
    <message>
        <source>银币:</source>
        <translation>银币:</translation>
    </message>
    <message>
        <source>钱庄银币:</source>
        <translation>钱庄银币:</translation>
    </message>
    <message>
        <source>元宝:</source>
        <translation>元宝:</translation>
    </message>
    <message>
        <source>绑定元宝:</source>
        <translation>绑定元宝:</translation>
    </message>
    <message>
        <source>战斗属性</source>
        <translation>战斗属性</translation>
    </message>
    <message>
        <source>经验值:</source>
        <translation>经验值:</translation>
    </message>
    <message>
        <source>生命值:</source>
        <translation>生命值:</translation>
    </message>
    <message>
        <source>魔法值:</source>
        <translation>魔法值:</translation>
    </message>
    <message>
        <source>力量:</source>
        <translation>力量:</translation>
    </message>
    <message>
        <source>体力:</source>
        <translation>体力:</translation>
    </message>
    <message>
        <source>敏捷:</source>
        <translation>敏捷:</translation>
    </message>
    <message>
        <source>灵气:</source>
        <translation>灵气:</translation>
    </message>
    <message>
        <source>定力:</source>
        <translation>定力:</translation>
    </message>
    <message>
        <source>属性点:</source>
        <translation>属性点:</translation>
    </message>
    <message>
        <source>位置信息</source>
        <translation>位置信息</translation>
    </message>
    <message>
        <source>当前场景:</source>
        <translation>当前场景:</translation>
    </message>
    <message>
        <source>X 坐标:</source>
        <translation>X 坐标:</translation>
    </message>
    <message>
        <source>Z 坐标:</source>
        <translation>Z 坐标:</translation>
    </message>
    <message>
        <source>返回场景:</source>
        <translation>返回场景:</translation>
    </message>
    <message>
        <source>返回 X:</source>
        <translation>返回 X:</translation>
    </message>
    <message>
        <source>返回 Z:</source>
        <translation>返回 Z:</translation>
    </message>
    <message>
        <source>返回洛阳</source>
        <translation>返回洛阳</translation>
    </message>
    <message>
        <source>设置当前位置为洛阳 (场景0, X=9000, Z=18500)</source>
        <translation>设置当前位置为洛阳 (场景0, X=9000, Z=18500)</translation>
    </message>
    <message>
        <source>其他属性</source>
        <translation>其他属性</translation>
    </message>
    <message>
        <source>精力:</source>
        <translation>精力:</translation>
    </message>
    <message>
        <source>最大精力:</source>
        <translation>最大精力:</translation>
    </message>
    <message>
        <source>活力:</source>
        <translation>活力:</translation>
    </message>
    <message>
        <source>最大活力:</source>
        <translation>最大活力:</translation>
    </message>
    <message>
        <source>帮派贡献:</source>
        <translation>帮派贡献:</translation>
    </message>
    <message>
        <source>门派贡献:</source>
        <translation>门派贡献:</translation>
    </message>
    <message>
        <source>武道点数:</source>
        <translation>武道点数:</translation>
    </message>
    <message>
        <source>杀气值:</source>
        <translation>杀气值:</translation>
    </message>
    <message>
        <source>赠点:</source>
        <translation>赠点:</translation>
    </message>
    <message>
        <source>称号:</source>
        <translation>称号:</translation>
    </message>
    <message>
        <source>BUFF状态</source>
        <translation>BUFF状态</translation>
    </message>
    <message>
        <source>心法技能</source>
        <translation>心法技能</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>保存修改</source>
        <translation>保存修改</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>账号名:</source>
        <translation>账号名:</translation>
    </message>
    <message>
        <source>可修改账号归属</source>
        <translation>可修改账号归属</translation>
    </message>
    <message>
        <source>角色名:</source>
        <translation>角色名:</translation>
    </message>
    <message>
        <source>无</source>
        <translation>无</translation>
    </message>
    <message>
        <source>性别:</source>
        <translation>性别:</translation>
    </message>
    <message>
        <source>男</source>
        <translation>男</translation>
    </message>
    <message>
        <source>女</source>
        <translation>女</translation>
    </message>
    <message>
        <source>门派:</source>
        <translation>门派:</translation>
    </message>
    <message>
        <source>少林</source>
        <translation>少林</translation>
    </message>
    <message>
        <source>明教</source>
        <translation>明教</translation>
    </message>
    <message>
        <source>丐帮</source>
        <translation>丐帮</translation>
    </message>
    <message>
        <source>武当</source>
        <translation>武当</translation>
    </message>
    <message>
        <source>峨眉</source>
        <translation>峨眉</translation>
    </message>
    <message>
        <source>星宿</source>
        <translation>星宿</translation>
    </message>
    <message>
        <source>天龙</source>
        <translation>天龙</translation>
    </message>
    <message>
        <source>天山</source>
        <translation>天山</translation>
    </message>
    <message>
        <source>逍遥</source>
        <translation>逍遥</translation>
    </message>
    <message>
        <source>无门派</source>
        <translation>无门派</translation>
    </message>
    <message>
        <source>曼陀山庄</source>
        <translation>曼陀山庄</translation>
    </message>
    <message>
        <source>恶人谷</source>
        <translation>恶人谷</translation>
    </message>
    <message>
        <source>等级:</source>
        <translation>等级:</translation>
    </message>
    <message>
        <source>封禁状态:</source>
        <translation>封禁状态:</translation>
    </message>
    <message>
        <source>未封禁</source>
        <translation>未封禁</translation>
    </message>
    <message>
        <source>封禁角色</source>
        <translation>封禁角色</translation>
    </message>
    <message>
        <source>封禁角色，设置封禁时间为100年后</source>
        <translation>封禁角色，设置封禁时间为100年后</translation>
    </message>
    <message>
        <source>解封角色</source>
        <translation>解封角色</translation>
    </message>
    <message>
        <source>解除角色封禁</source>
        <translation>解除角色封禁</translation>
    </message>
    <message>
        <source>效果ID</source>
        <translation>效果ID</translation>
    </message>
    <message>
        <source>驻留ID</source>
        <translation>驻留ID</translation>
    </message>
    <message>
        <source>持续时间</source>
        <translation>持续时间</translation>
    </message>
    <message>
        <source>已持续时间</source>
        <translation>已持续时间</translation>
    </message>
    <message>
        <source>删除选中BUFF</source>
        <translation>删除选中BUFF</translation>
    </message>
    <message>
        <source>清空所有BUFF</source>
        <translation>清空所有BUFF</translation>
    </message>
    <message>
        <source>心法列表</source>
        <translation>心法列表</translation>
    </message>
    <message>
        <source>心法ID</source>
        <translation>心法ID</translation>
    </message>
    <message>
        <source>心法名称</source>
        <translation>心法名称</translation>
    </message>
    <message>
        <source>等级</source>
        <translation>等级</translation>
    </message>
    <message>
        <source>修改心法</source>
        <translation>修改心法</translation>
    </message>
    <message>
        <source>心法ID:</source>
        <translation>心法ID:</translation>
    </message>
    <message>
        <source>心法名称:</source>
        <translation>心法名称:</translation>
    </message>
    <message>
        <source>心法等级:</source>
        <translation>心法等级:</translation>
    </message>
    <message>
        <source>保存心法修改</source>
        <translation>保存心法修改</translation>
    </message>
    <message>
        <source>技能列表</source>
        <translation>技能列表</translation>
    </message>
    <message>
        <source>技能ID</source>
        <translation>技能ID</translation>
    </message>
    <message>
        <source>技能名称</source>
        <translation>技能名称</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>数据库未连接</source>
        <translation>数据库未连接</translation>
    </message>
    <message>
        <source>无法加载角色数据: %1</source>
        <translation>无法加载角色数据: %1</translation>
    </message>
    <message>
        <source>存储的字节 %1 不是有效的 GBK 文本；不修改此项时保存不会改写它</source>
        <translation>存储的字节 %1 不是有效的 GBK 文本；不修改此项时保存不会改写它</translation>
    </message>
    <message>
        <source>未知(%1)</source>
        <translation>未知(%1)</translation>
    </message>
    <message>
        <source>数据库中的值 %1 没有对应选项</source>
        <translation>数据库中的值 %1 没有对应选项</translation>
    </message>
    <message>
        <source>数据库中的值 %1 超出编辑范围 %2 到 %3</source>
        <translation>数据库中的值 %1 超出编辑范围 %2 到 %3</translation>
    </message>
    <message>
        <source>封禁中 - 解封时间: %1</source>
        <translation>封禁中 - 解封时间: %1</translation>
    </message>
    <message>
        <source>角色数据未加载</source>
        <translation>角色数据未加载</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>没有需要保存的修改</source>
        <translation>没有需要保存的修改</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>保存失败: %1</source>
        <translation>保存失败: %1</translation>
    </message>
    <message>
        <source>

ZoneWorldID 将从 %1 改为 %2，角色的装备、时装和珍兽装备随之转移。</source>
        <translation>

ZoneWorldID 将从 %1 改为 %2，角色的装备、时装和珍兽装备随之转移。</translation>
    </message>
    <message>
        <source>确认保存</source>
        <translation>确认保存</translation>
    </message>
    <message>
        <source>编辑角色</source>
        <translation>编辑角色</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>角色数据保存成功！</source>
        <translation>角色数据保存成功！</translation>
    </message>
    <message>
        <source>角色数据已刷新</source>
        <translation>角色数据已刷新</translation>
    </message>
    <message>
        <source>确认封禁</source>
        <translation>确认封禁</translation>
    </message>
    <message>
        <source>确定要封禁该角色吗？

角色GUID: %1
封禁后该角色将无法登录游戏。</source>
        <translation>确定要封禁该角色吗？

角色GUID: %1
封禁后该角色将无法登录游戏。</translation>
    </message>
    <message>
        <source>封禁失败: %1</source>
        <translation>封禁失败: %1</translation>
    </message>
    <message>
        <source>角色已封禁！</source>
        <translation>角色已封禁！</translation>
    </message>
    <message>
        <source>确认解封</source>
        <translation>确认解封</translation>
    </message>
    <message>
        <source>确定要解除该角色的封禁吗？

角色GUID: %1</source>
        <translation>确定要解除该角色的封禁吗？

角色GUID: %1</translation>
    </message>
    <message>
        <source>解封失败: %1</source>
        <translation>解封失败: %1</translation>
    </message>
    <message>
        <source>角色已解封！</source>
        <translation>角色已解封！</translation>
    </message>
    <message>
        <source>永久</source>
        <translation>永久</translation>
    </message>
    <message>
        <source>%1天%2小时</source>
        <translation>%1天%2小时</translation>
    </message>
    <message>
        <source>%1小时%2分</source>
        <translation>%1小时%2分</translation>
    </message>
    <message>
        <source>%1分%2秒</source>
        <translation>%1分%2秒</translation>
    </message>
    <message>
        <source>%1秒</source>
        <translation>%1秒</translation>
    </message>
    <message>
        <source>无BUFF数据</source>
        <translation>无BUFF数据</translation>
    </message>
    <message>
        <source>请先选择要删除的BUFF</source>
        <translation>请先选择要删除的BUFF</translation>
    </message>
    <message>
        <source>确认删除</source>
        <translation>确认删除</translation>
    </message>
    <message>
        <source>确定要删除选中的BUFF吗？</source>
        <translation>确定要删除选中的BUFF吗？</translation>
    </message>
    <message>
        <source>BUFF删除失败</source>
        <translation>BUFF删除失败</translation>
    </message>
    <message>
        <source>BUFF删除成功</source>
        <translation>BUFF删除成功</translation>
    </message>
    <message>
        <source>确认清空</source>
        <translation>确认清空</translation>
    </message>
    <message>
        <source>确定要清空该角色的所有BUFF吗？

此操作不可恢复！</source>
        <translation>确定要清空该角色的所有BUFF吗？

此操作不可恢复！</translation>
    </message>
    <message>
        <source>清空BUFF失败</source>
        <translation>清空BUFF失败</translation>
    </message>
    <message>
        <source>已清空 %1 个BUFF</source>
        <translation>已清空 %1 个BUFF</translation>
    </message>
    <message>
        <source>心法%1</source>
        <translation>心法%1</translation>
    </message>
    <message>
        <source>无心法数据</source>
        <translation>无心法数据</translation>
    </message>
    <message>
        <source>请先选择要修改的心法</source>
        <translation>请先选择要修改的心法</translation>
    </message>
    <message>
        <source>心法等级需要在1-10000之间</source>
        <translation>心法等级需要在1-10000之间</translation>
    </message>
    <message>
        <source>心法修改失败: %1</source>
        <translation>心法修改失败: %1</translation>
    </message>
    <message>
        <source>心法修改成功</source>
        <translation>心法修改成功</translation>
    </message>
    <message>
        <source>技能%1</source>
        <translation>技能%1</translation>
    </message>
    <message>
        <source>无技能数据</source>
        <translation>无技能数据</translation>
    </message>
    <message>
        <source>确定要在 %1 上保存对角色 CharGUID %2 的修改吗？

注意：修改后需要玩家重新登录才能生效。</source>
        <translation>确定要在 %1 上保存对角色 CharGUID %2 的修改吗？

注意：修改后需要玩家重新登录才能生效。</translation>
    </message>
    <message>
        <source>注：持续时间为 -1 表示永久</source>
        <translation>注：持续时间为 -1 表示永久</translation>
    </message>
</context>
<context>
    <name>CharacterExport</name>
    <message>
        <source>导出</source>
        <translation>导出</translation>
    </message>
    <message>
        <source>开始导出角色列表: %1</source>
        <translation>开始导出角色列表: %1</translation>
    </message>
    <message>
        <source>无法创建导出文件</source>
        <translation>无法创建导出文件</translation>
    </message>
    <message>
        <source>角色GUID,角色名称,门派,等级,ZoneWorldID
</source>
        <translation>角色GUID,角色名称,门派,等级,ZoneWorldID
</translation>
    </message>
    <message>
        <source>写入导出文件失败: %1</source>
        <translation>写入导出文件失败: %1</translation>
    </message>
    <message numerus="yes">
        <source>导出完成: %Ln 条记录</source>
        <translation>
            <numerusform>导出完成: %Ln 条记录</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CharacterListDialog</name>
    <message>
        <source>角色管理 - %1</source>
        <translation>角色管理 - %1</translation>
    </message>
    <message>
        <source>输入ID，多个用逗号分隔</source>
        <translation>输入ID，多个用逗号分隔</translation>
    </message>
    <message>
        <source>批量选择</source>
        <translation>批量选择</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>查询</translation>
    </message>
    <message>
        <source>搜索:</source>
        <translation>搜索:</translation>
    </message>
    <message>
        <source>账号</source>
        <translation>账号</translation>
    </message>
    <message>
        <source>角色名</source>
        <translation>角色名</translation>
    </message>
    <message>
        <source>请输入搜索内容</source>
        <translation>请输入搜索内容</translation>
    </message>
    <message>
        <source>搜索</source>
        <translation>搜索</translation>
    </message>
    <message>
        <source>角色数量: 0</source>
        <translation>角色数量: 0</translation>
    </message>
    <message>
        <source>导出列表</source>
        <translation>导出列表</translation>
    </message>
    <message>
        <source>编辑角色</source>
        <translation>编辑角色</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>技能修复</source>
        <translation>技能修复</translation>
    </message>
    <message>
        <source>复制角色</source>
        <translation>复制角色</translation>
    </message>
    <message>
        <source>跨区转移角色</source>
        <translation>跨区转移角色</translation>
    </message>
    <message>
        <source>查看仓库</source>
        <translation>查看仓库</translation>
    </message>
    <message>
        <source>删除角色</source>
        <translation>删除角色</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>已取消</source>
        <translation>已取消</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>正在取消...</source>
        <translation>正在取消...</translation>
    </message>
    <message>
        <source>操作正在进行，关闭将取消它并回滚。

确定要取消并关闭吗？</source>
        <translation>操作正在进行，关闭将取消它并回滚。

确定要取消并关闭吗？</translation>
    </message>
    <message>
        <source>操作正在进行，窗口将在它完成后关闭。

确定要关闭吗？</source>
        <translation>操作正在进行，窗口将在它完成后关闭。

确定要关闭吗？</translation>
    </message>
    <message>
        <source>确认关闭</source>
        <translation>确认关闭</translation>
    </message>
    <message>
        <source>角色数量: %1</source>
        <translation>角色数量: %1</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>请输入有效的 ZoneWorldID</source>
        <translation>请输入有效的 ZoneWorldID</translation>
    </message>
    <message>
        <source>查询角色...</source>
        <translation>查询角色...</translation>
    </message>
    <message>
        <source>查询失败</source>
        <translation>查询失败</translation>
    </message>
    <message>
        <source>查询角色</source>
        <translation>查询角色</translation>
    </message>
    <message>
        <source>CharGUID必须是正整数
支持格式: 11001234 或 A7DD92 或 0xA7DD92</source>
        <translation>CharGUID必须是正整数
支持格式: 11001234 或 A7DD92 或 0xA7DD92</translation>
    </message>
    <message>
        <source>搜索角色 [类型: %1]: %2</source>
        <translation>搜索角色 [类型: %1]: %2</translation>
    </message>
    <message>
        <source>搜索失败</source>
        <translation>搜索失败</translation>
    </message>
    <message>
        <source>仅显示前 %1 个结果</source>
        <translation>仅显示前 %1 个结果</translation>
    </message>
    <message>
        <source>（%1）</source>
        <translation>（%1）</translation>
    </message>
    <message>
        <source>当前数据库中没有找到任何WorldID
请确保数据库已连接且包含角色数据</source>
        <translation>当前数据库中没有找到任何WorldID
请确保数据库已连接且包含角色数据</translation>
    </message>
    <message>
        <source>已选择 %1 个WorldID: %2</source>
        <translation>已选择 %1 个WorldID: %2</translation>
    </message>
    <message>
        <source>角色数据已修改</source>
        <translation>角色数据已修改</translation>
    </message>
    <message>
        <source>请先选择要编辑的角色</source>
        <translation>请先选择要编辑的角色</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>无效的角色 GUID</source>
        <translation>无效的角色 GUID</translation>
    </message>
    <message>
        <source>打开角色编辑: CharGUID = %1</source>
        <translation>打开角色编辑: CharGUID = %1</translation>
    </message>
    <message>
        <source>双击编辑角色: CharGUID = %1</source>
        <translation>双击编辑角色: CharGUID = %1</translation>
    </message>
    <message>
        <source>%1: 将改动的数据:</source>
        <translation>%1: 将改动的数据:</translation>
    </message>
    <message>
        <source>请先选择角色</source>
        <translation>请先选择角色</translation>
    </message>
    <message>
        <source>操作已取消，数据已回滚</source>
        <translation>操作已取消，数据已回滚</translation>
    </message>
    <message>
        <source>操作失败，数据已回滚，详见日志</source>
        <translation>操作失败，数据已回滚，详见日志</translation>
    </message>
    <message>
        <source>操作失败，数据已回滚

%1</source>
        <translation>操作失败，数据已回滚

%1</translation>
    </message>
    <message>
        <source>确认技能修复</source>
        <translation>确认技能修复</translation>
    </message>
    <message>
        <source>确认要修复 CharGUID=%1 的重复技能吗？

此操作将删除重复技能并按skid升序排列</source>
        <translation>确认要修复 CharGUID=%1 的重复技能吗？

此操作将删除重复技能并按skid升序排列</translation>
    </message>
    <message>
        <source>修复技能</source>
        <translation>修复技能</translation>
    </message>
    <message>
        <source>CharGUID=%1 技能修复完成，删除 %2 条重复记录</source>
        <translation>CharGUID=%1 技能修复完成，删除 %2 条重复记录</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>技能修复完成！
删除了 %1 条重复记录</source>
        <translation>技能修复完成！
删除了 %1 条重复记录</translation>
    </message>
    <message>
        <source>CharGUID=%1 没有发现重复技能</source>
        <translation>CharGUID=%1 没有发现重复技能</translation>
    </message>
    <message>
        <source>没有发现重复技能</source>
        <translation>没有发现重复技能</translation>
    </message>
    <message>
        <source>将角色 [%1] (GUID=%2) 复制到哪个账号？</source>
        <translation>将角色 [%1] (GUID=%2) 复制到哪个账号？</translation>
    </message>
    <message>
        <source>请输入目标账号名称:</source>
        <translation>请输入目标账号名称:</translation>
    </message>
    <message>
        <source>自动添加后缀 </source>
        <translation>自动添加后缀 </translation>
    </message>
    <message>
        <source>确认复制</source>
        <translation>确认复制</translation>
    </message>
    <message>
        <source>角色复制成功！

新CharGUID: %1
新角色名: %2
目标账号: %3

注意: 好友/师徒等社交关系不会被复制</source>
        <translation>角色复制成功！

新CharGUID: %1
新角色名: %2
目标账号: %3

注意: 好友/师徒等社交关系不会被复制</translation>
    </message>
    <message>
        <source>转移角色</source>
        <translation>转移角色</translation>
    </message>
    <message>
        <source>将角色 [%1] (GUID=%2) 转移到哪个服务器？

请输入目标 WorldID:</source>
        <translation>将角色 [%1] (GUID=%2) 转移到哪个服务器？

请输入目标 WorldID:</translation>
    </message>
    <message>
        <source>角色已在 WorldID %1，无需转移</source>
        <translation>角色已在 WorldID %1，无需转移</translation>
    </message>
    <message>
        <source>无法转移</source>
        <translation>无法转移</translation>
    </message>
    <message>
        <source>确认转移</source>
        <translation>确认转移</translation>
    </message>
    <message>
        <source>即将转移角色:

角色: %1 (GUID=%2)
目标WorldID: %3</source>
        <translation>即将转移角色:

角色: %1 (GUID=%2)
目标WorldID: %3</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>成功</translation>
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
        <translation>角色转移成功!

CharGUID: %1
新WorldID: %2

已同步更新:
• 角色主表
• 角色装备
• 时装装备
• 珍兽装备</translation>
    </message>
    <message>
        <source>确认删除</source>
        <translation>确认删除</translation>
    </message>
    <message>
        <source>确认要删除角色 [%1] (GUID=%2) 及其所有关联数据吗？</source>
        <translation>确认要删除角色 [%1] (GUID=%2) 及其所有关联数据吗？</translation>
    </message>
    <message>
        <source>角色删除成功</source>
        <translation>角色删除成功</translation>
    </message>
    <message>
        <source>查看角色仓库: %1 (GUID=%2)</source>
        <translation>查看角色仓库: %1 (GUID=%2)</translation>
    </message>
    <message>
        <source>请先查询角色</source>
        <translation>请先查询角色</translation>
    </message>
    <message>
        <source>导出角色列表</source>
        <translation>导出角色列表</translation>
    </message>
    <message>
        <source>CSV 文件 (*.csv)</source>
        <translation>CSV 文件 (*.csv)</translation>
    </message>
    <message>
        <source>导出失败，详见操作日志</source>
        <translation>导出失败，详见操作日志</translation>
    </message>
    <message>
        <source>新角色名:</source>
        <translation>新角色名:</translation>
    </message>
    <message>
        <source>无法复制</source>
        <translation>无法复制</translation>
    </message>
    <message>
        <source>即将在 %1 上复制角色:

源角色: %2 (GUID=%3)
目标账号: %4
新角色名: %5</source>
        <translation>即将在 %1 上复制角色:

源角色: %2 (GUID=%3)
目标账号: %4
新角色名: %5</translation>
    </message>
    <message>
        <source>物品配置加载成功: %1</source>
        <translation>物品配置加载成功: %1</translation>
    </message>
    <message>
        <source>物品配置加载失败，请检查目录 %1</source>
        <translation>物品配置加载失败，请检查目录 %1</translation>
    </message>
    <message>
        <source>取消正在进行的操作</source>
        <translation>取消正在进行的操作</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>关闭</translation>
    </message>
    <message numerus="yes">
        <source>查询完成，找到 %Ln 个角色</source>
        <translation>
            <numerusform>查询完成，找到 %Ln 个角色</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>搜索完成，找到 %Ln 个角色</source>
        <translation>
            <numerusform>搜索完成，找到 %Ln 个角色</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CharacterOperation</name>
    <message>
        <source>t_var(计数器)</source>
        <translation>t_var(计数器)</translation>
    </message>
    <message>
        <source>角色 CharGUID=%1 已在 WorldID=%2，无需转移</source>
        <translation>角色 CharGUID=%1 已在 WorldID=%2，无需转移</translation>
    </message>
    <message>
        <source>主机配置没有账号库，无法确认目标账号 %1 存在，未复制</source>
        <translation>主机配置没有账号库，无法确认目标账号 %1 存在，未复制</translation>
    </message>
    <message>
        <source>无法读取账号库 %1: %2，未复制</source>
        <translation>无法读取账号库 %1: %2，未复制</translation>
    </message>
    <message>
        <source>目标账号 %1 在账号库 %2（%3）中不存在，未复制</source>
        <translation>目标账号 %1 在账号库 %2（%3）中不存在，未复制</translation>
    </message>
    <message>
        <source>角色名 %1 已被占用，未复制</source>
        <translation>角色名 %1 已被占用，未复制</translation>
    </message>
</context>
<context>
    <name>CharacterPurge</name>
    <message>
        <source>t_relation(反向)</source>
        <translation>t_relation(反向)</translation>
    </message>
    <message>
        <source>  跳过 %1: 表不存在</source>
        <translation>  跳过 %1: 表不存在</translation>
    </message>
    <message>
        <source>  清理 t_relation(反向关系): %1 条记录</source>
        <translation>  清理 t_relation(反向关系): %1 条记录</translation>
    </message>
    <message numerus="yes">
        <source>  删除 %1: %Ln 条记录</source>
        <translation>
            <numerusform>  删除 %1: %Ln 条记录</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>CharacterPurge::TrailingUndoReader</name>
    <message>
        <source>撤销文件读取失败: %1</source>
        <translation>撤销文件读取失败: %1</translation>
    </message>
</context>
<context>
    <name>CharacterQueries</name>
    <message>
        <source>CharGUID必须是正整数
支持格式: 11001234 或 A7DD92 或 0xA7DD92</source>
        <translation>CharGUID必须是正整数
支持格式: 11001234 或 A7DD92 或 0xA7DD92</translation>
    </message>
</context>
<context>
    <name>CharacterTableModel</name>
    <message>
        <source>角色名称</source>
        <translation>角色名称</translation>
    </message>
    <message>
        <source>门派</source>
        <translation>门派</translation>
    </message>
    <message>
        <source>等级</source>
        <translation>等级</translation>
    </message>
    <message>
        <source>元宝</source>
        <translation>元宝</translation>
    </message>
    <message>
        <source>绑元宝</source>
        <translation>绑元宝</translation>
    </message>
    <message>
        <source>金币</source>
        <translation>金币</translation>
    </message>
    <message>
        <source>交子</source>
        <translation>交子</translation>
    </message>
    <message>
        <source>武道点</source>
        <translation>武道点</translation>
    </message>
    <message>
        <source>地图ID</source>
        <translation>地图ID</translation>
    </message>
    <message>
        <source>少林</source>
        <translation>少林</translation>
    </message>
    <message>
        <source>明教</source>
        <translation>明教</translation>
    </message>
    <message>
        <source>丐帮</source>
        <translation>丐帮</translation>
    </message>
    <message>
        <source>武当</source>
        <translation>武当</translation>
    </message>
    <message>
        <source>峨眉</source>
        <translation>峨眉</translation>
    </message>
    <message>
        <source>星宿</source>
        <translation>星宿</translation>
    </message>
    <message>
        <source>天龙</source>
        <translation>天龙</translation>
    </message>
    <message>
        <source>天山</source>
        <translation>天山</translation>
    </message>
    <message>
        <source>逍遥</source>
        <translation>逍遥</translation>
    </message>
    <message>
        <source>无门派</source>
        <translation>无门派</translation>
    </message>
    <message>
        <source>曼陀</source>
        <translation>曼陀</translation>
    </message>
</context>
<context>
    <name>CharacterTables</name>
    <message>
        <source>技能</source>
        <translation>技能</translation>
    </message>
    <message>
        <source>心法</source>
        <translation>心法</translation>
    </message>
    <message>
        <source>生活技能</source>
        <translation>生活技能</translation>
    </message>
    <message>
        <source>秘籍</source>
        <translation>秘籍</translation>
    </message>
    <message>
        <source>天赋</source>
        <translation>天赋</translation>
    </message>
    <message>
        <source>传送点</source>
        <translation>传送点</translation>
    </message>
    <message>
        <source>商店记录</source>
        <translation>商店记录</translation>
    </message>
    <message>
        <source>声望</source>
        <translation>声望</translation>
    </message>
    <message>
        <source>发色</source>
        <translation>发色</translation>
    </message>
    <message>
        <source>武器外观</source>
        <translation>武器外观</translation>
    </message>
    <message>
        <source>染色</source>
        <translation>染色</translation>
    </message>
    <message>
        <source>外观</source>
        <translation>外观</translation>
    </message>
</context>
<context>
    <name>CharacterTransfer</name>
    <message>
        <source>更新t_char失败: %1</source>
        <translation>更新t_char失败: %1</translation>
    </message>
    <message>
        <source>未找到要转移的角色</source>
        <translation>未找到要转移的角色</translation>
    </message>
    <message>
        <source>警告: 未找到要转移的角色</source>
        <translation>警告: 未找到要转移的角色</translation>
    </message>
    <message>
        <source>✓ t_char更新成功 (影响%1行)</source>
        <translation>✓ t_char更新成功 (影响%1行)</translation>
    </message>
    <message>
        <source>装备</source>
        <translation>装备</translation>
    </message>
    <message>
        <source>时装</source>
        <translation>时装</translation>
    </message>
    <message>
        <source>珍兽装备</source>
        <translation>珍兽装备</translation>
    </message>
    <message>
        <source>跳过 %1: 表不存在</source>
        <translation>跳过 %1: 表不存在</translation>
    </message>
    <message>
        <source>更新%1失败: %2</source>
        <translation>更新%1失败: %2</translation>
    </message>
    <message>
        <source>✓ %1更新成功 (影响%2行%3)</source>
        <translation>✓ %1更新成功 (影响%2行%3)</translation>
    </message>
    <message>
        <source>WorldID %1 不存在，已知的 WorldID: %2</source>
        <translation>WorldID %1 不存在，已知的 WorldID: %2</translation>
    </message>
    <message>
        <source>开始转移角色 CharGUID=%1 -&gt; WorldID=%2</source>
        <translation>开始转移角色 CharGUID=%1 -&gt; WorldID=%2</translation>
    </message>
    <message>
        <source>转移角色 CharGUID %1 到 WorldID %2</source>
        <translation>转移角色 CharGUID %1 到 WorldID %2</translation>
    </message>
    <message>
        <source>角色转移失败，已回滚所有更改

%1</source>
        <translation>角色转移失败，已回滚所有更改

%1</translation>
    </message>
    <message>
        <source>角色转移失败，已回滚所有更改</source>
        <translation>角色转移失败，已回滚所有更改</translation>
    </message>
    <message>
        <source>撤销文件: %1</source>
        <translation>撤销文件: %1</translation>
    </message>
    <message>
        <source>===== 角色转移成功 =====</source>
        <translation>===== 角色转移成功 =====</translation>
    </message>
    <message>
        <source>CharGUID=%1 已转移到 WorldID=%2</source>
        <translation>CharGUID=%1 已转移到 WorldID=%2</translation>
    </message>
    <message>
        <source>共更新 1 条主表记录及相关装备数据</source>
        <translation>共更新 1 条主表记录及相关装备数据</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <source>账号名（list: 包含的文字）</source>
        <translation>账号名（list: 包含的文字）</translation>
    </message>
    <message>
        <source>points: 对所有账号</source>
        <translation>points: 对所有账号</translation>
    </message>
    <message>
        <source>points: 设为这个点数</source>
        <translation>points: 设为这个点数</translation>
    </message>
    <message>
        <source>points --all: 每个账号加这么多点</source>
        <translation>points --all: 每个账号加这么多点</translation>
    </message>
    <message>
        <source>points --all: 清零</source>
        <translation>points --all: 清零</translation>
    </message>
    <message>
        <source>从 SQL 文件恢复角色数据库（需 --yes）</source>
        <translation>从 SQL 文件恢复角色数据库（需 --yes）</translation>
    </message>
    <message>
        <source>把角色数据库备份为 SQL 文件</source>
        <translation>把角色数据库备份为 SQL 文件</translation>
    </message>
    <message>
        <source>SQL 文件</source>
        <translation>SQL 文件</translation>
    </message>
    <message>
        <source>角色: list|search|show 查看，copy|transfer|delete|repair|set 修改（需 --yes）</source>
        <translation>角色: list|search|show 查看，copy|transfer|delete|repair|set 修改（需 --yes）</translation>
    </message>
    <message>
        <source>list: WorldID 列表，如 2,3</source>
        <translation>list: WorldID 列表，如 2,3</translation>
    </message>
    <message>
        <source>角色的 CharGUID（十进制，或游戏显示的十六进制）</source>
        <translation>角色的 CharGUID（十进制，或游戏显示的十六进制）</translation>
    </message>
    <message>
        <source>search: 角色名包含的文字；copy: 副本的名字（不给则随机）</source>
        <translation>search: 角色名包含的文字；copy: 副本的名字（不给则随机）</translation>
    </message>
    <message>
        <source>search: 账号包含的文字；copy: 副本所属账号</source>
        <translation>search: 账号包含的文字；copy: 副本所属账号</translation>
    </message>
    <message>
        <source>transfer: 目标 WorldID</source>
        <translation>transfer: 目标 WorldID</translation>
    </message>
    <message>
        <source>search: 最多显示的角色数（默认 500）</source>
        <translation>search: 最多显示的角色数（默认 500）</translation>
    </message>
    <message>
        <source>用法: quorvel-cli &lt;命令&gt; [选项]

命令:
</source>
        <translation>用法: quorvel-cli &lt;命令&gt; [选项]

命令:
</translation>
    </message>
    <message>
        <source>未知命令 &quot;%1&quot;，可用: %2</source>
        <translation>未知命令 &quot;%1&quot;，可用: %2</translation>
    </message>
    <message>
        <source>用法: quorvel-cli %1 [选项]</source>
        <translation>用法: quorvel-cli %1 [选项]</translation>
    </message>
    <message>
        <source>多余的参数 &quot;%1&quot;</source>
        <translation>多余的参数 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>真正执行（不加时只预演，不做修改）</source>
        <translation>真正执行（不加时只预演，不做修改）</translation>
    </message>
    <message>
        <source>不写撤销文件（已另做完整备份时）</source>
        <translation>不写撤销文件（已另做完整备份时）</translation>
    </message>
    <message>
        <source>host_configs.json 中的主机名称</source>
        <translation>host_configs.json 中的主机名称</translation>
    </message>
    <message>
        <source>不用主机配置时: 服务器地址</source>
        <translation>不用主机配置时: 服务器地址</translation>
    </message>
    <message>
        <source>不用主机配置时: 用户名</source>
        <translation>不用主机配置时: 用户名</translation>
    </message>
    <message>
        <source>从标准输入读取密码（一行）</source>
        <translation>从标准输入读取密码（一行）</translation>
    </message>
    <message>
        <source>把结果作为一个 JSON 对象输出到标准输出（日志改到标准错误）</source>
        <translation>把结果作为一个 JSON 对象输出到标准输出（日志改到标准错误）</translation>
    </message>
    <message>
        <source>把区服的角色列表导出为 CSV</source>
        <translation>把区服的角色列表导出为 CSV</translation>
    </message>
    <message>
        <source>CSV 文件</source>
        <translation>CSV 文件</translation>
    </message>
    <message>
        <source>WorldID 列表，如 2,3</source>
        <translation>WorldID 列表，如 2,3</translation>
    </message>
    <message>
        <source>跨服合区（需 --yes）</source>
        <translation>跨服合区（需 --yes）</translation>
    </message>
    <message>
        <source>主区（目标）WorldID</source>
        <translation>主区（目标）WorldID</translation>
    </message>
    <message>
        <source>副区（来源）WorldID</source>
        <translation>副区（来源）WorldID</translation>
    </message>
    <message>
        <source>先删除等级 ≤ N 的角色（1-150）</source>
        <translation>先删除等级 ≤ N 的角色（1-150）</translation>
    </message>
    <message>
        <source>主服（目标）的主机名称</source>
        <translation>主服（目标）的主机名称</translation>
    </message>
    <message>
        <source>副服（来源）的主机名称</source>
        <translation>副服（来源）的主机名称</translation>
    </message>
    <message>
        <source>重名角色的后缀（默认 _S2）</source>
        <translation>重名角色的后缀（默认 _S2）</translation>
    </message>
    <message>
        <source>重名账号的后缀（默认 _S2）</source>
        <translation>重名账号的后缀（默认 _S2）</translation>
    </message>
    <message>
        <source>不合并账号</source>
        <translation>不合并账号</translation>
    </message>
    <message>
        <source>合区前备份主服</source>
        <translation>合区前备份主服</translation>
    </message>
    <message>
        <source>主服必填而副服没有的字段，填入游戏为新角色写入的值</source>
        <translation>主服必填而副服没有的字段，填入游戏为新角色写入的值</translation>
    </message>
    <message>
        <source>主服似乎已合并过这些角色时仍然合并（需同时加 --yes）</source>
        <translation>主服似乎已合并过这些角色时仍然合并（需同时加 --yes）</translation>
    </message>
    <message>
        <source>主机配置中没有密码时，从标准输入读取（每个一行，先主服）</source>
        <translation>主机配置中没有密码时，从标准输入读取（每个一行，先主服）</translation>
    </message>
    <message>
        <source>同服合区（需 --yes）</source>
        <translation>同服合区（需 --yes）</translation>
    </message>
    <message>
        <source>独立账号库: 主区的账号数据库</source>
        <translation>独立账号库: 主区的账号数据库</translation>
    </message>
    <message>
        <source>独立账号库: 副区的账号数据库</source>
        <translation>独立账号库: 副区的账号数据库</translation>
    </message>
    <message>
        <source>重名账号的后缀</source>
        <translation>重名账号的后缀</translation>
    </message>
    <message>
        <source>执行撤销文件 FILE，放回操作改动的数据（需 --yes）</source>
        <translation>执行撤销文件 FILE，放回操作改动的数据（需 --yes）</translation>
    </message>
    <message>
        <source>list: 以 JSON 输出</source>
        <translation>list: 以 JSON 输出</translation>
    </message>
    <message>
        <source>删除区服的全部角色及其账号（需 --yes）</source>
        <translation>删除区服的全部角色及其账号（需 --yes）</translation>
    </message>
    <message>
        <source>同时清理的账号数据库，如 web,web2</source>
        <translation>同时清理的账号数据库，如 web,web2</translation>
    </message>
    <message>
        <source>列出 WorldID 及其角色数</source>
        <translation>列出 WorldID 及其角色数</translation>
    </message>
    <message>
        <source>WorldID	角色数
</source>
        <translation>WorldID	角色数
</translation>
    </message>
    <message>
        <source>
各命令的选项: quorvel-cli &lt;命令&gt; --help
退出码: 0 成功，1 操作失败，2 用法错误。会修改数据的命令不加 --yes 时只做预演。
--version 显示版本；--lang zh_CN|en 选择语言（默认跟随系统）。
</source>
        <translation>
各命令的选项: quorvel-cli &lt;命令&gt; --help
退出码: 0 成功，1 操作失败，2 用法错误。会修改数据的命令不加 --yes 时只做预演。
--version 显示版本；--lang zh_CN|en 选择语言（默认跟随系统）。
</translation>
    </message>
    <message>
        <source>文件写于的服务器已迁移到这里（标识不同）时，确认后仍执行</source>
        <translation>文件写于的服务器已迁移到这里（标识不同）时，确认后仍执行</translation>
    </message>
    <message>
        <source>不用主机配置时: 角色数据库（默认 vexadb_main）</source>
        <translation>不用主机配置时: 角色数据库（默认 vexadb_main）</translation>
    </message>
    <message>
        <source>不用主机配置时: 同一服务器上的账号库（默认 web）</source>
        <translation>不用主机配置时: 同一服务器上的账号库（默认 web）</translation>
    </message>
    <message>
        <source>账号: list 查看，register|points|delete 修改（需 --yes）；不用主机配置时账号库由 --accounts-database（或 --database）指定</source>
        <translation>账号: list 查看，register|points|delete 修改（需 --yes）；不用主机配置时账号库由 --accounts-database（或 --database）指定</translation>
    </message>
    <message>
        <source>预演给出的合区计划；服务器在此之后有变化时不做任何修改</source>
        <translation>预演给出的合区计划；服务器在此之后有变化时不做任何修改</translation>
    </message>
    <message>
        <source>依次备份主机配置中每个主机的角色库和账号库，文件以主机和数据库命名</source>
        <translation>依次备份主机配置中每个主机的角色库和账号库，文件以主机和数据库命名</translation>
    </message>
    <message>
        <source>--all: 每个主机的每个数据库只保留最新的 N 个完整备份（N ≥ 1）</source>
        <translation>--all: 每个主机的每个数据库只保留最新的 N 个完整备份（N ≥ 1）</translation>
    </message>
    <message>
        <source>--all: 把每个备份的结果作为一个 JSON 对象输出到标准输出（日志改到标准错误）</source>
        <translation>--all: 把每个备份的结果作为一个 JSON 对象输出到标准输出（日志改到标准错误）</translation>
    </message>
    <message>
        <source>删除已执行的撤销文件和早于 --older-than 天的撤销文件（需 --yes；其后可列出要删除的文件）</source>
        <translation>删除已执行的撤销文件和早于 --older-than 天的撤销文件（需 --yes；其后可列出要删除的文件）</translation>
    </message>
    <message>
        <source>prune: 也删除早于 DAYS 天的撤销文件（每个数据库最新的一个除外）</source>
        <translation>prune: 也删除早于 DAYS 天的撤销文件（每个数据库最新的一个除外）</translation>
    </message>
    <message>
        <source>压缩为 .sql.gz（边备份边压缩，磁盘上不留未压缩的文件）</source>
        <translation>压缩为 .sql.gz（边备份边压缩，磁盘上不留未压缩的文件）</translation>
    </message>
</context>
<context>
    <name>Cli::AccountCommand</name>
    <message>
        <source>points 需要 --name NAME --set N，或 --all 加 --set N、--add N、--clear 之一</source>
        <translation>points 需要 --name NAME --set N，或 --all 加 --set N、--add N、--clear 之一</translation>
    </message>
    <message>
        <source>点数需要非负整数（--add 可为负），而不是 &quot;%1&quot;</source>
        <translation>点数需要非负整数（--add 可为负），而不是 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>%1 需要 --name</source>
        <translation>%1 需要 --name</translation>
    </message>
    <message>
        <source>账号 %1 的密码: </source>
        <translation>账号 %1 的密码: </translation>
    </message>
    <message>
        <source>register 需要新账号的密码（标准输入的下一行）</source>
        <translation>register 需要新账号的密码（标准输入的下一行）</translation>
    </message>
    <message>
        <source>无法连接账号数据库 %1: %2</source>
        <translation>无法连接账号数据库 %1: %2</translation>
    </message>
    <message>
        <source>账号数据库: %1</source>
        <translation>账号数据库: %1</translation>
    </message>
    <message>
        <source>将改动 account: %1 条记录</source>
        <translation>将改动 account: %1 条记录</translation>
    </message>
    <message>
        <source>操作失败: %1</source>
        <translation>操作失败: %1</translation>
    </message>
    <message>
        <source>操作完成</source>
        <translation>操作完成</translation>
    </message>
    <message>
        <source>查询失败: %1</source>
        <translation>查询失败: %1</translation>
    </message>
    <message numerus="yes">
        <source>共 %Ln 个账号</source>
        <translation>
            <numerusform>共 %Ln 个账号</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Cli::ActionCommand</name>
    <message>
        <source>需要一个动作: %1</source>
        <translation>需要一个动作: %1</translation>
    </message>
    <message>
        <source>多余的参数 &quot;%1&quot;</source>
        <translation>多余的参数 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>未知的动作 &quot;%1&quot;，可用: %2</source>
        <translation>未知的动作 &quot;%1&quot;，可用: %2</translation>
    </message>
</context>
<context>
    <name>Cli::CharacterCommand</name>
    <message>
        <source>%1 需要 --guid（正整数，或 0x 开头的十六进制）</source>
        <translation>%1 需要 --guid（正整数，或 0x 开头的十六进制）</translation>
    </message>
    <message>
        <source>search 需要 --name 或 --account 之一</source>
        <translation>search 需要 --name 或 --account 之一</translation>
    </message>
    <message>
        <source>transfer 需要 --to-world</source>
        <translation>transfer 需要 --to-world</translation>
    </message>
    <message>
        <source>copy 需要 --account</source>
        <translation>copy 需要 --account</translation>
    </message>
    <message>
        <source>查询失败: %1</source>
        <translation>查询失败: %1</translation>
    </message>
    <message>
        <source>角色不存在: CharGUID %1</source>
        <translation>角色不存在: CharGUID %1</translation>
    </message>
    <message>
        <source>（已截断）</source>
        <translation>（已截断）</translation>
    </message>
    <message>
        <source>角色: %1 (CharGUID %2, WorldID %3)</source>
        <translation>角色: %1 (CharGUID %2, WorldID %3)</translation>
    </message>
    <message>
        <source>检查失败: %1</source>
        <translation>检查失败: %1</translation>
    </message>
    <message>
        <source>副本名: %1</source>
        <translation>副本名: %1</translation>
    </message>
    <message>
        <source>副本: %1 (CharGUID %2)</source>
        <translation>副本: %1 (CharGUID %2)</translation>
    </message>
    <message>
        <source>操作失败: %1</source>
        <translation>操作失败: %1</translation>
    </message>
    <message>
        <source>未知错误</source>
        <translation>未知错误</translation>
    </message>
    <message>
        <source>操作完成</source>
        <translation>操作完成</translation>
    </message>
    <message>
        <source>副本名: 执行时随机生成一个未被占用的名字（用 --name 指定）</source>
        <translation>副本名: 执行时随机生成一个未被占用的名字（用 --name 指定）</translation>
    </message>
    <message>
        <source>set 的字段与新值，可多个；可改的字段: %1</source>
        <translation>set 的字段与新值，可多个；可改的字段: %1</translation>
    </message>
    <message numerus="yes">
        <source>共 %Ln 个角色%1</source>
        <translation>
            <numerusform>共 %Ln 个角色%1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Cli::Command</name>
    <message>
        <source>缺少 --%1</source>
        <translation>缺少 --%1</translation>
    </message>
    <message>
        <source>--%1: &quot;%2&quot; 不是有效的 WorldID</source>
        <translation>--%1: &quot;%2&quot; 不是有效的 WorldID</translation>
    </message>
    <message>
        <source>--%1: 需要至少一个 WorldID</source>
        <translation>--%1: 需要至少一个 WorldID</translation>
    </message>
    <message>
        <source>--%1: 只能给一个 WorldID</source>
        <translation>--%1: 只能给一个 WorldID</translation>
    </message>
    <message>
        <source>主机配置中没有 &quot;%1&quot; (%2)</source>
        <translation>主机配置中没有 &quot;%1&quot; (%2)</translation>
    </message>
    <message>
        <source>预演完成，未做任何修改。确认无误后加 --yes 执行。</source>
        <translation>预演完成，未做任何修改。确认无误后加 --yes 执行。</translation>
    </message>
    <message>
        <source>撤销文件: %1</source>
        <translation>撤销文件: %1</translation>
    </message>
</context>
<context>
    <name>Cli::MergeCommand</name>
    <message>
        <source>merge 需要 --main NAME 和 --sub NAME</source>
        <translation>merge 需要 --main NAME 和 --sub NAME</translation>
    </message>
    <message>
        <source>主区</source>
        <translation>主区</translation>
    </message>
    <message>
        <source>副区</source>
        <translation>副区</translation>
    </message>
    <message>
        <source>%1 (%2@%3) 的密码: </source>
        <translation>%1 (%2@%3) 的密码: </translation>
    </message>
    <message>
        <source>将把 %1 的 WorldID %2 合入 %3 的 WorldID %4:</source>
        <translation>将把 %1 的 WorldID %2 合入 %3 的 WorldID %4:</translation>
    </message>
    <message>
        <source>要再次合并，需同时加 --yes --again。</source>
        <translation>要再次合并，需同时加 --yes --again。</translation>
    </message>
    <message>
        <source>合区计划: %1（加 --yes --plan %1 只执行这个计划：服务器在此之后有变化时不做任何修改）</source>
        <translation>合区计划: %1（加 --yes --plan %1 只执行这个计划：服务器在此之后有变化时不做任何修改）</translation>
    </message>
</context>
<context>
    <name>Cli::MergeSameCommand</name>
    <message>
        <source>--sub-world 与 --main-world 不能相同</source>
        <translation>--sub-world 与 --main-world 不能相同</translation>
    </message>
    <message>
        <source>--main-accounts 和 --sub-accounts 需同时给出有效的数据库名</source>
        <translation>--main-accounts 和 --sub-accounts 需同时给出有效的数据库名</translation>
    </message>
    <message>
        <source>独立账号库需要 --suffix TEXT（重名账号的后缀）</source>
        <translation>独立账号库需要 --suffix TEXT（重名账号的后缀）</translation>
    </message>
</context>
<context>
    <name>Cli::ServerCommand</name>
    <message>
        <source>--server: 需要 HOST:PORT，收到 &quot;%1&quot;</source>
        <translation>--server: 需要 HOST:PORT，收到 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>命令行</source>
        <translation>命令行</translation>
    </message>
    <message>
        <source>%1@%2 的密码: </source>
        <translation>%1@%2 的密码: </translation>
    </message>
    <message>
        <source>需要 --host NAME 或 --server HOST:PORT</source>
        <translation>需要 --host NAME 或 --server HOST:PORT</translation>
    </message>
    <message>
        <source>服务器</source>
        <translation>服务器</translation>
    </message>
    <message>
        <source>连接数据库失败: %1:%2/%3: %4</source>
        <translation>连接数据库失败: %1:%2/%3: %4</translation>
    </message>
    <message>
        <source>%1 需要 --worlds 1,2,...</source>
        <translation>%1 需要 --worlds 1,2,...</translation>
    </message>
    <message>
        <source>--host 不能与 --server/--user/--database/--accounts-database 同时使用：只能用一种方式指定服务器</source>
        <translation>--host 不能与 --server/--user/--database/--accounts-database 同时使用：只能用一种方式指定服务器</translation>
    </message>
    <message>
        <source>注意：没有密码（主机配置中没有，也没有 --password-stdin），以空密码连接 %1</source>
        <translation>注意：没有密码（主机配置中没有，也没有 --password-stdin），以空密码连接 %1</translation>
    </message>
</context>
<context>
    <name>Cli::ToolCommand</name>
    <message>
        <source>restore 需要 --file PATH</source>
        <translation>restore 需要 --file PATH</translation>
    </message>
    <message>
        <source>备份文件不存在: %1</source>
        <translation>备份文件不存在: %1</translation>
    </message>
    <message>
        <source>将用 %1 (%2 字节) 恢复数据库 %3，各表现有行数与文件中的行数:</source>
        <translation>将用 %1 (%2 字节) 恢复数据库 %3，各表现有行数与文件中的行数:</translation>
    </message>
    <message>
        <source>--keep 需要正整数，而不是 &quot;%1&quot;</source>
        <translation>--keep 需要正整数，而不是 &quot;%1&quot;</translation>
    </message>
    <message>
        <source>主机配置中没有主机 (%1)</source>
        <translation>主机配置中没有主机 (%1)</translation>
    </message>
    <message>
        <source>%1: 主机配置中没有 %2 的密码，跳过</source>
        <translation>%1: 主机配置中没有 %2 的密码，跳过</translation>
    </message>
    <message>
        <source>备份成功: %1 %2 → %3（删除旧备份 %4 个）</source>
        <translation>备份成功: %1 %2 → %3（删除旧备份 %4 个）</translation>
    </message>
    <message>
        <source>备份失败: %1 %2</source>
        <translation>备份失败: %1 %2</translation>
    </message>
    <message>
        <source>备份完成: %1 个成功，%2 个失败</source>
        <translation>备份完成: %1 个成功，%2 个失败</translation>
    </message>
    <message>
        <source>--gzip 的文件名需以 .gz 结尾: %1</source>
        <translation>--gzip 的文件名需以 .gz 结尾: %1</translation>
    </message>
</context>
<context>
    <name>Cli::UndoCommand</name>
    <message>
        <source>撤销文件（backups/undo/ 下）；list 列出尚未执行的撤销文件</source>
        <translation>撤销文件（backups/undo/ 下）；list 列出尚未执行的撤销文件</translation>
    </message>
    <message>
        <source>undo 需要一个撤销文件，或 list</source>
        <translation>undo 需要一个撤销文件，或 list</translation>
    </message>
    <message>
        <source>%1 不是撤销文件</source>
        <translation>%1 不是撤销文件</translation>
    </message>
    <message>
        <source>撤销文件不存在: %1</source>
        <translation>撤销文件不存在: %1</translation>
    </message>
    <message>
        <source>撤销完成: %1</source>
        <translation>撤销完成: %1</translation>
    </message>
    <message>
        <source>确认这就是文件写于的服务器（迁移过）后，可加 --server-moved 执行</source>
        <translation>确认这就是文件写于的服务器（迁移过）后，可加 --server-moved 执行</translation>
    </message>
    <message>
        <source>检查通过：文件完整，服务器是写入时的那台，数据仍是操作后的样子，要放回的角色ID都空闲</source>
        <translation>检查通过：文件完整，服务器是写入时的那台，数据仍是操作后的样子，要放回的角色ID都空闲</translation>
    </message>
    <message>
        <source>--older-than 需要天数（非负整数）</source>
        <translation>--older-than 需要天数（非负整数）</translation>
    </message>
    <message>
        <source>  %1（已执行，%2 字节）</source>
        <translation>  %1（已执行，%2 字节）</translation>
    </message>
    <message>
        <source>  %1（%2 字节）</source>
        <translation>  %1（%2 字节）</translation>
    </message>
    <message>
        <source>共 %1 个撤销文件，%2 字节</source>
        <translation>共 %1 个撤销文件，%2 字节</translation>
    </message>
    <message>
        <source>没有尚未执行的撤销文件（%1）</source>
        <translation>没有尚未执行的撤销文件（%1）</translation>
    </message>
    <message numerus="yes">
        <source>已删除 %Ln 个撤销文件</source>
        <translation>
            <numerusform>已删除 %Ln 个撤销文件</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Cli::WipeCommand</name>
    <message>
        <source>将删除 zoneworldid IN (%1) 的角色数据:</source>
        <translation>将删除 zoneworldid IN (%1) 的角色数据:</translation>
    </message>
    <message>
        <source>账号删除失败：%1 个角色已删除，账号未全部删除（见上）</source>
        <translation>账号删除失败：%1 个角色已删除，账号未全部删除（见上）</translation>
    </message>
    <message>
        <source>--accounts: &quot;%1&quot; 不是有效的数据库名</source>
        <translation>--accounts: &quot;%1&quot; 不是有效的数据库名</translation>
    </message>
    <message>
        <source>--accounts: 服务器上没有账号数据库 &quot;%1&quot;</source>
        <translation>--accounts: 服务器上没有账号数据库 &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>CollationKeys</name>
    <message>
        <source>表 %1 没有字段 %2</source>
        <translation>表 %1 没有字段 %2</translation>
    </message>
    <message>
        <source>字段 %1.%2 的字符集无法识别: %3</source>
        <translation>字段 %1.%2 的字符集无法识别: %3</translation>
    </message>
</context>
<context>
    <name>CommitCheck</name>
    <message>
        <source>提交未到达服务器的连接 %1 仍持有事务，已结束它</source>
        <translation>提交未到达服务器的连接 %1 仍持有事务，已结束它</translation>
    </message>
    <message>
        <source>服务器 20 秒内没有结束原来的连接 %1</source>
        <translation>服务器 20 秒内没有结束原来的连接 %1</translation>
    </message>
    <message>
        <source>服务器拒绝了提交，事务已回滚</source>
        <translation>服务器拒绝了提交，事务已回滚</translation>
    </message>
    <message>
        <source>无法重新连接服务器: %1</source>
        <translation>无法重新连接服务器: %1</translation>
    </message>
    <message>
        <source>重新连接到的不是原来的服务器（%1，原来是 %2）</source>
        <translation>重新连接到的不是原来的服务器（%1，原来是 %2）</translation>
    </message>
    <message>
        <source>没有可以判断的数据</source>
        <translation>没有可以判断的数据</translation>
    </message>
    <message>
        <source>%1 项数据中 %2 项是提交后的样子、%3 项是提交前的样子，其余已被改动</source>
        <translation>%1 项数据中 %2 项是提交后的样子、%3 项是提交前的样子，其余已被改动</translation>
    </message>
</context>
<context>
    <name>ConnectionRule</name>
    <message>
        <source>无法设置会话的 sql_mode: %1</source>
        <translation>无法设置会话的 sql_mode: %1</translation>
    </message>
    <message>
        <source>%1（已尝试的 ODBC 驱动: %2）</source>
        <translation>%1（已尝试的 ODBC 驱动: %2）</translation>
    </message>
    <message>
        <source>%1（没有安装 MySQL ODBC 驱动，已尝试: %2）</source>
        <translation>%1（没有安装 MySQL ODBC 驱动，已尝试: %2）</translation>
    </message>
</context>
<context>
    <name>DatabaseManager</name>
    <message>
        <source>停止数据库心跳保活</source>
        <translation>停止数据库心跳保活</translation>
    </message>
    <message>
        <source>正在%1，请等它结束后再操作</source>
        <translation>正在%1，请等它结束后再操作</translation>
    </message>
    <message>
        <source>无法连接数据库：%1</source>
        <translation>无法连接数据库：%1</translation>
    </message>
    <message>
        <source>无法连接数据库，最后错误：%1</source>
        <translation>无法连接数据库，最后错误：%1</translation>
    </message>
    <message>
        <source>心跳查询失败: %1</source>
        <translation>心跳查询失败: %1</translation>
    </message>
    <message>
        <source>连接已断开，尝试重连...</source>
        <translation>连接已断开，尝试重连...</translation>
    </message>
    <message>
        <source>未连接到数据库</source>
        <translation>未连接到数据库</translation>
    </message>
    <message>
        <source>无法连接服务器 %1: %2</source>
        <translation>无法连接服务器 %1: %2</translation>
    </message>
    <message>
        <source>执行数据库重连...</source>
        <translation>执行数据库重连...</translation>
    </message>
    <message>
        <source>数据库重连成功</source>
        <translation>数据库重连成功</translation>
    </message>
    <message>
        <source>数据库重连失败</source>
        <translation>数据库重连失败</translation>
    </message>
    <message>
        <source>启动数据库心跳保活，间隔: %1ms</source>
        <translation>启动数据库心跳保活，间隔: %1ms</translation>
    </message>
    <message>
        <source>心跳检测失败，尝试重连...</source>
        <translation>心跳检测失败，尝试重连...</translation>
    </message>
    <message>
        <source>自动重连成功</source>
        <translation>自动重连成功</translation>
    </message>
    <message>
        <source>自动重连失败</source>
        <translation>自动重连失败</translation>
    </message>
    <message>
        <source>queryCharacters: 数据库未连接</source>
        <translation>queryCharacters: 数据库未连接</translation>
    </message>
    <message>
        <source>queryCharacters: SQL 执行失败 - %1</source>
        <translation>queryCharacters: SQL 执行失败 - %1</translation>
    </message>
    <message>
        <source>获取角色统计失败: </source>
        <translation>获取角色统计失败: </translation>
    </message>
    <message>
        <source>

请检查：
1. MySQL ODBC 驱动是否安装
2. 数据库连接信息是否正确
3. MySQL 服务是否运行</source>
        <translation>

请检查：
1. MySQL ODBC 驱动是否安装
2. 数据库连接信息是否正确
3. MySQL 服务是否运行</translation>
    </message>
</context>
<context>
    <name>DatabaseTool</name>
    <message>
        <source>备份</source>
        <translation>备份</translation>
    </message>
    <message>
        <source>恢复</source>
        <translation>恢复</translation>
    </message>
    <message>
        <source>无法连接 %1:%2，无法统计现有行数: %3</source>
        <translation>无法连接 %1，无法统计现有行数: %3 {1:%2，?}</translation>
    </message>
</context>
<context>
    <name>HostConfigDialog</name>
    <message>
        <source>主机配置管理</source>
        <translation>主机配置管理</translation>
    </message>
    <message>
        <source>管理数据库连接配置</source>
        <translation>管理数据库连接配置</translation>
    </message>
    <message>
        <source>添加</source>
        <translation>添加</translation>
    </message>
    <message>
        <source>编辑</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>保存</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>新配置</source>
        <translation>新配置</translation>
    </message>
    <message>
        <source>确认删除</source>
        <translation>确认删除</translation>
    </message>
    <message>
        <source>确定要删除配置 &quot;%1&quot; 吗？</source>
        <translation>确定要删除配置 &quot;%1&quot; 吗？</translation>
    </message>
    <message>
        <source>添加配置</source>
        <translation>添加配置</translation>
    </message>
    <message>
        <source>编辑配置</source>
        <translation>编辑配置</translation>
    </message>
    <message>
        <source>角色数据库配置</source>
        <translation>角色数据库配置</translation>
    </message>
    <message>
        <source>配置名称:</source>
        <translation>配置名称:</translation>
    </message>
    <message>
        <source>主机地址:</source>
        <translation>主机地址:</translation>
    </message>
    <message>
        <source>端口:</source>
        <translation>端口:</translation>
    </message>
    <message>
        <source>用户名:</source>
        <translation>用户名:</translation>
    </message>
    <message>
        <source>密码:</source>
        <translation>密码:</translation>
    </message>
    <message>
        <source>数据库:</source>
        <translation>数据库:</translation>
    </message>
    <message>
        <source>账号数据库配置</source>
        <translation>账号数据库配置</translation>
    </message>
    <message>
        <source>同角色数据库</source>
        <translation>同角色数据库</translation>
    </message>
    <message>
        <source>测试连接</source>
        <translation>测试连接</translation>
    </message>
    <message>
        <source>正在连接…</source>
        <translation>正在连接…</translation>
    </message>
    <message>
        <source>%1 %2: 连接成功</source>
        <translation>%1 %2: 连接成功</translation>
    </message>
    <message>
        <source>%1 %2: 连接失败: %3</source>
        <translation>%1 %2: 连接失败: %3</translation>
    </message>
    <message>
        <source>角色数据库</source>
        <translation>角色数据库</translation>
    </message>
    <message>
        <source>账号数据库</source>
        <translation>账号数据库</translation>
    </message>
</context>
<context>
    <name>HostStore</name>
    <message>
        <source>本地数据库</source>
        <translation>本地数据库</translation>
    </message>
    <message>
        <source>警告: 主机配置文件 %1 含有密码，但其他用户也能读取它；请执行 chmod 600 %1，或在主机配置中保存一次</source>
        <translation>警告: 主机配置文件 %1 含有密码，但其他用户也能读取它；请执行 chmod 600 %1，或在主机配置中保存一次</translation>
    </message>
</context>
<context>
    <name>ItemConfigManager</name>
    <message>
        <source>未知物品(ID:%1)</source>
        <translation>未知物品(ID:%1)</translation>
    </message>
</context>
<context>
    <name>LogPanel</name>
    <message>
        <source>操作日志</source>
        <translation>操作日志</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>数据库连接</source>
        <translation>数据库连接</translation>
    </message>
    <message>
        <source>数据库配置</source>
        <translation>数据库配置</translation>
    </message>
    <message>
        <source>管理配置</source>
        <translation>管理配置</translation>
    </message>
    <message>
        <source>● 未连接</source>
        <translation>● 未连接</translation>
    </message>
    <message>
        <source>连接数据库</source>
        <translation>连接数据库</translation>
    </message>
    <message>
        <source>测试连接</source>
        <translation>测试连接</translation>
    </message>
    <message>
        <source>备份数据库</source>
        <translation>备份数据库</translation>
    </message>
    <message>
        <source>恢复数据库</source>
        <translation>恢复数据库</translation>
    </message>
    <message>
        <source>功能入口</source>
        <translation>功能入口</translation>
    </message>
    <message>
        <source>主机配置保存失败: %1</source>
        <translation>主机配置保存失败: %1</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>主机配置未能保存，文件保持原样：
%1

%2</source>
        <translation>主机配置未能保存，文件保持原样：
%1

%2</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>请先连接数据库！</source>
        <translation>请先连接数据库！</translation>
    </message>
    <message>
        <source>测试连接...</source>
        <translation>测试连接...</translation>
    </message>
    <message>
        <source>连接测试成功!</source>
        <translation>连接测试成功!</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>数据库连接测试成功!</source>
        <translation>数据库连接测试成功!</translation>
    </message>
    <message>
        <source>连接测试失败</source>
        <translation>连接测试失败</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>数据库连接测试失败,请检查配置</source>
        <translation>数据库连接测试失败,请检查配置</translation>
    </message>
    <message>
        <source>已断开连接</source>
        <translation>已断开连接</translation>
    </message>
    <message>
        <source>正在连接...</source>
        <translation>正在连接...</translation>
    </message>
    <message>
        <source>● 正在连接…</source>
        <translation>● 正在连接…</translation>
    </message>
    <message>
        <source>连接成功: %1</source>
        <translation>连接成功: %1</translation>
    </message>
    <message>
        <source>已启动数据库连接保活</source>
        <translation>已启动数据库连接保活</translation>
    </message>
    <message>
        <source>连接失败</source>
        <translation>连接失败</translation>
    </message>
    <message>
        <source>保存备份文件 - %1</source>
        <translation>保存备份文件 - %1</translation>
    </message>
    <message>
        <source>开始备份数据库...</source>
        <translation>开始备份数据库...</translation>
    </message>
    <message>
        <source>备份完成: %1</source>
        <translation>备份完成: %1</translation>
    </message>
    <message>
        <source>备份失败，请检查日志获取详细信息</source>
        <translation>备份失败，请检查日志获取详细信息</translation>
    </message>
    <message>
        <source>选择备份文件</source>
        <translation>选择备份文件</translation>
    </message>
    <message>
        <source>[ 选择其他备份文件... ]</source>
        <translation>[ 选择其他备份文件... ]</translation>
    </message>
    <message>
        <source>请选择要恢复的备份:</source>
        <translation>请选择要恢复的备份:</translation>
    </message>
    <message>
        <source>无法恢复</source>
        <translation>无法恢复</translation>
    </message>
    <message>
        <source>恢复将改动的数据:</source>
        <translation>恢复将改动的数据:</translation>
    </message>
    <message>
        <source>确认恢复</source>
        <translation>确认恢复</translation>
    </message>
    <message>
        <source>确认要恢复数据库吗？

目标数据库: %1
服务器: %2
备份文件: %3

⚠️ 警告: 此操作将覆盖当前数据库中的所有数据！
建议先备份当前数据库！</source>
        <translation>确认要恢复数据库吗？

目标数据库: %1
服务器: %2
备份文件: %3

⚠️ 警告: 此操作将覆盖当前数据库中的所有数据！
建议先备份当前数据库！</translation>
    </message>
    <message>
        <source>  ……（共 %1 个表，见详细信息）</source>
        <translation>  ……（共 %1 个表，见详细信息）</translation>
    </message>
    <message>
        <source>开始恢复数据库...</source>
        <translation>开始恢复数据库...</translation>
    </message>
    <message>
        <source>数据库恢复完成: %1

请重新连接数据库以刷新数据。</source>
        <translation>数据库恢复完成: %1

请重新连接数据库以刷新数据。</translation>
    </message>
    <message>
        <source>数据库恢复失败，请检查日志获取详细信息</source>
        <translation>数据库恢复失败，请检查日志获取详细信息</translation>
    </message>
    <message>
        <source>主机配置已更新</source>
        <translation>主机配置已更新</translation>
    </message>
    <message>
        <source>正在使用的主机配置 %1 已修改。

当前仍连接在 %2。是否用新的设置重新连接？</source>
        <translation>正在使用的主机配置 %1 已修改。

当前仍连接在 %2。是否用新的设置重新连接？</translation>
    </message>
    <message>
        <source>正在使用的主机配置 %1 已删除。

当前仍连接在 %2。是否断开连接？</source>
        <translation>正在使用的主机配置 %1 已删除。

当前仍连接在 %2。是否断开连接？</translation>
    </message>
    <message>
        <source>主机配置已修改</source>
        <translation>主机配置已修改</translation>
    </message>
    <message>
        <source>会话仍连接在 %1，重新连接后才使用新的设置</source>
        <translation>会话仍连接在 %1，重新连接后才使用新的设置</translation>
    </message>
    <message>
        <source>当前已连接 %1。

切换到 %2 将断开当前连接，确定要切换吗？</source>
        <translation>当前已连接 %1。

切换到 %2 将断开当前连接，确定要切换吗？</translation>
    </message>
    <message>
        <source>切换主机</source>
        <translation>切换主机</translation>
    </message>
    <message>
        <source>请先选择主机配置</source>
        <translation>请先选择主机配置</translation>
    </message>
    <message>
        <source>打开账号管理: %1@%2:%3/%4</source>
        <translation>打开账号管理: %1@%2:%3/%4</translation>
    </message>
    <message>
        <source>打开角色管理对话框</source>
        <translation>打开角色管理对话框</translation>
    </message>
    <message>
        <source>打开跨服合区对话框</source>
        <translation>打开跨服合区对话框</translation>
    </message>
    <message>
        <source>打开同服合区对话框</source>
        <translation>打开同服合区对话框</translation>
    </message>
    <message>
        <source>同服合区操作完成</source>
        <translation>同服合区操作完成</translation>
    </message>
    <message>
        <source>打开区服删档对话框</source>
        <translation>打开区服删档对话框</translation>
    </message>
    <message>
        <source>打开撤销记录</source>
        <translation>打开撤销记录</translation>
    </message>
    <message>
        <source>%1。

退出将取消正在进行的操作，确定要退出吗？</source>
        <translation>%1。

退出将取消正在进行的操作，确定要退出吗？</translation>
    </message>
    <message>
        <source>备份或恢复操作正在进行，退出将中止该操作。

确定要退出吗？</source>
        <translation>备份或恢复操作正在进行，退出将中止该操作。

确定要退出吗？</translation>
    </message>
    <message>
        <source>● 已连接</source>
        <translation>● 已连接</translation>
    </message>
    <message>
        <source>断开连接</source>
        <translation>断开连接</translation>
    </message>
    <message>
        <source>界面语言</source>
        <translation>界面语言</translation>
    </message>
    <message>
        <source>角色管理</source>
        <translation>角色管理</translation>
    </message>
    <message>
        <source>账号管理</source>
        <translation>账号管理</translation>
    </message>
    <message>
        <source>跨服合区</source>
        <translation>跨服合区</translation>
    </message>
    <message>
        <source>同服合区</source>
        <translation>同服合区</translation>
    </message>
    <message>
        <source>区服删档</source>
        <translation>区服删档</translation>
    </message>
    <message>
        <source>撤销记录</source>
        <translation>撤销记录</translation>
    </message>
    <message>
        <source>请先关闭其他窗口，再切换界面语言。</source>
        <translation>请先关闭其他窗口，再切换界面语言。</translation>
    </message>
    <message>
        <source>Quorvel 游戏数据库管理工具 v%1</source>
        <translation>Quorvel 游戏数据库管理工具 v%1</translation>
    </message>
    <message>
        <source>压缩的 SQL 文件 (*.sql.gz);;SQL 文件 (*.sql)</source>
        <translation>压缩的 SQL 文件 (*.sql.gz);;SQL 文件 (*.sql)</translation>
    </message>
    <message>
        <source>SQL 文件 (*.sql *.sql.gz)</source>
        <translation>SQL 文件 (*.sql *.sql.gz)</translation>
    </message>
    <message>
        <source>还没有主机配置（%1）：点“管理配置”添加游戏的服务器；内置的一项指向本机 3306 端口</source>
        <translation>还没有主机配置（%1）：点“管理配置”添加游戏的服务器；内置的一项指向本机 3306 端口</translation>
    </message>
    <message>
        <source>旧备份</source>
        <translation>旧备份</translation>
    </message>
    <message>
        <source>%1 的数据库 %2 共有 %3 个完整备份。保留最新的几个？更早的将被删除。</source>
        <translation>%1 的数据库 %2 共有 %3 个完整备份。保留最新的几个？更早的将被删除。</translation>
    </message>
    <message>
        <source>已删除旧备份: %1</source>
        <translation>已删除旧备份: %1</translation>
    </message>
    <message>
        <source>无法删除旧备份: %1</source>
        <translation>无法删除旧备份: %1</translation>
    </message>
    <message>
        <source>保留最新 %1 个备份，删除了 %2 个</source>
        <translation>保留最新 %1 个备份，删除了 %2 个</translation>
    </message>
</context>
<context>
    <name>MergeBackup</name>
    <message>
        <source>备份失败（%1）：无法写入临时密码文件</source>
        <translation>备份失败（%1）：无法写入临时密码文件</translation>
    </message>
    <message>
        <source>备份失败（%1）：无法创建 %2：%3</source>
        <translation>备份失败（%1）：无法创建 %2：%3</translation>
    </message>
    <message>
        <source>备份数据库 [%1] -&gt; %2</source>
        <translation>备份数据库 [%1] -&gt; %2</translation>
    </message>
    <message>
        <source>mysqldump 启动失败：%1</source>
        <translation>mysqldump 启动失败：%1</translation>
    </message>
    <message>
        <source>备份失败（%1）：exit=%2 %3</source>
        <translation>备份失败（%1）：exit=%2 %3</translation>
    </message>
    <message>
        <source>备份失败（%1）：无法把备份命名为 %2</source>
        <translation>备份失败（%1）：无法把备份命名为 %2</translation>
    </message>
    <message>
        <source>备份完成：%1 (%2 KB)</source>
        <translation>备份完成：%1 (%2 KB)</translation>
    </message>
    <message>
        <source>========== 备份主区数据库 ==========</source>
        <translation>========== 备份主区数据库 ==========</translation>
    </message>
    <message>
        <source>创建备份目录失败：</source>
        <translation>创建备份目录失败：</translation>
    </message>
    <message>
        <source>主区角色库备份失败，已中止合区（建议检查 mysqldump.exe 及其依赖 DLL）。</source>
        <translation>主区角色库备份失败，已中止合区（建议检查 mysqldump.exe 及其依赖 DLL）。</translation>
    </message>
    <message>
        <source>主区账号库备份失败，已中止合区（建议检查 mysqldump.exe 及其依赖 DLL）。</source>
        <translation>主区账号库备份失败，已中止合区（建议检查 mysqldump.exe 及其依赖 DLL）。</translation>
    </message>
</context>
<context>
    <name>MergePreflight</name>
    <message>
        <source>将合并 %1 个角色，其中 %2 个获得新的角色ID</source>
        <translation>将合并 %1 个角色，其中 %2 个获得新的角色ID</translation>
    </message>
    <message>
        <source>无效角色（isvalid ≠ 1）不合并，留在副区: %1 个</source>
        <translation>无效角色（isvalid ≠ 1）不合并，留在副区: %1 个</translation>
    </message>
    <message>
        <source>先删除低等级角色: 主区 %1 个，副区 %2 个</source>
        <translation>先删除低等级角色: 主区 %1 个，副区 %2 个</translation>
    </message>
    <message>
        <source>账号: %1 个，其中 %2 个重名将改名；角色名冲突: %3 个</source>
        <translation>账号: %1 个，其中 %2 个重名将改名；角色名冲突: %3 个</translation>
    </message>
    <message>
        <source>对方角色不在合并范围内的关系不拷贝: %1 条</source>
        <translation>对方角色不在合并范围内的关系不拷贝: %1 条</translation>
    </message>
    <message>
        <source>主区没有的表，副区数据不拷贝: %1</source>
        <translation>主区没有的表，副区数据不拷贝: %1</translation>
    </message>
    <message>
        <source>副区缺少主区必填的字段 %1: %2</source>
        <translation>副区缺少主区必填的字段 %1: %2</translation>
    </message>
    <message>
        <source>注意: 主区已有 %1 个副区角色（账号与创建时间相同），这次合区似乎已经做过</source>
        <translation>注意: 主区已有 %1 个副区角色（账号与创建时间相同），这次合区似乎已经做过</translation>
    </message>
    <message>
        <source>无法合区: %1</source>
        <translation>无法合区: %1</translation>
    </message>
    <message numerus="yes">
        <source>  %1: %Ln 条记录</source>
        <translation>
            <numerusform>  %1: %Ln 条记录</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>MergeReport</name>
    <message>
        <source>主区没有、因而未拷贝的表: %1 个 (%2)</source>
        <translation>主区没有、因而未拷贝的表: %1 个 (%2)</translation>
    </message>
    <message>
        <source>合区已提交，但副区的低等级角色没有删除（副区未改动）: %1</source>
        <translation>合区已提交，但副区的低等级角色没有删除（副区未改动）: %1</translation>
    </message>
</context>
<context>
    <name>MergeRunning::MergeRun</name>
    <message>
        <source>合区已取消</source>
        <translation>合区已取消</translation>
    </message>
    <message>
        <source>连接 %1 失败：无法设置时区</source>
        <translation>连接 %1 失败：无法设置时区</translation>
    </message>
    <message>
        <source>连接 %1 成功（第%2次尝试）</source>
        <translation>连接 %1 成功（第%2次尝试）</translation>
    </message>
    <message>
        <source>%1 通过 ODBC 驱动 [%2] 连接</source>
        <translation>%1 通过 ODBC 驱动 [%2] 连接</translation>
    </message>
    <message>
        <source>连接 %1 失败（尝试 %2/%3）：%4</source>
        <translation>连接 %1 失败（尝试 %2/%3）：%4</translation>
    </message>
    <message>
        <source>2秒后重试...</source>
        <translation>2秒后重试...</translation>
    </message>
    <message>
        <source>连接数据库</source>
        <translation>连接数据库</translation>
    </message>
    <message>
        <source>异步线程开始连接数据库...</source>
        <translation>异步线程开始连接数据库...</translation>
    </message>
    <message>
        <source>主区角色库</source>
        <translation>主区角色库</translation>
    </message>
    <message>
        <source>副区角色库</source>
        <translation>副区角色库</translation>
    </message>
    <message>
        <source>副区账号库</source>
        <translation>副区账号库</translation>
    </message>
    <message>
        <source>异步线程数据库连接成功</source>
        <translation>异步线程数据库连接成功</translation>
    </message>
    <message>
        <source>主区和副区是同一个角色库 %1，不能把它合并到自身</source>
        <translation>主区和副区是同一个角色库 %1，不能把它合并到自身</translation>
    </message>
    <message>
        <source>主区和副区是同一个账号库 %1，不能把它合并到自身（不合并账号时可取消“合并web库”）</source>
        <translation>主区和副区是同一个账号库 %1，不能把它合并到自身（不合并账号时可取消“合并web库”）</translation>
    </message>
    <message>
        <source>查询低等级角色失败：%1</source>
        <translation>查询低等级角色失败：%1</translation>
    </message>
    <message>
        <source>获取副区 charguid 失败：%1</source>
        <translation>获取副区 charguid 失败：%1</translation>
    </message>
    <message>
        <source>无法获取 t_char 表结构</source>
        <translation>无法获取 t_char 表结构</translation>
    </message>
    <message>
        <source>无法获取 account 表结构</source>
        <translation>无法获取 account 表结构</translation>
    </message>
    <message>
        <source>主区表 %1 的字段 %2 必须有值，但副区没有这些字段%3</source>
        <translation>主区表 %1 的字段 %2 必须有值，但副区没有这些字段%3</translation>
    </message>
    <message>
        <source>（可选择用游戏为新角色写入的值填充）</source>
        <translation>（可选择用游戏为新角色写入的值填充）</translation>
    </message>
    <message>
        <source>主区 WorldID %1 在 t_var 中没有计数器（已有: %2）</source>
        <translation>主区 WorldID %1 在 t_var 中没有计数器（已有: %2）</translation>
    </message>
    <message>
        <source>检测 charguid 冲突失败：%1</source>
        <translation>检测 charguid 冲突失败：%1</translation>
    </message>
    <message>
        <source>读取主区账号表失败：%1</source>
        <translation>读取主区账号表失败：%1</translation>
    </message>
    <message>
        <source>读取主区账号失败：%1</source>
        <translation>读取主区账号失败：%1</translation>
    </message>
    <message>
        <source>查询副区账号失败：</source>
        <translation>查询副区账号失败：</translation>
    </message>
    <message>
        <source>比较账号名失败：%1</source>
        <translation>比较账号名失败：%1</translation>
    </message>
    <message>
        <source>账号名过长，已截短后改名：%1 -&gt; %2</source>
        <translation>账号名过长，已截短后改名：%1 -&gt; %2</translation>
    </message>
    <message>
        <source>读取主区角色表失败：%1</source>
        <translation>读取主区角色表失败：%1</translation>
    </message>
    <message>
        <source>读取主区角色名失败：%1</source>
        <translation>读取主区角色名失败：%1</translation>
    </message>
    <message>
        <source>主区角色名总数（含UNIQUE索引）: %1</source>
        <translation>主区角色名总数（含UNIQUE索引）: %1</translation>
    </message>
    <message>
        <source>比较角色名失败：%1</source>
        <translation>比较角色名失败：%1</translation>
    </message>
    <message>
        <source>角色名过长，已截短后改名：%1 -&gt; %2</source>
        <translation>角色名过长，已截短后改名：%1 -&gt; %2</translation>
    </message>
    <message>
        <source>创建临时表失败：%1</source>
        <translation>创建临时表失败：%1</translation>
    </message>
    <message>
        <source>写入临时表失败：%1</source>
        <translation>写入临时表失败：%1</translation>
    </message>
    <message>
        <source>无法短暂锁定副区（%1）：改为在一个连接的一个快照中读取副区，不并行读取</source>
        <translation>无法短暂锁定副区（%1）：改为在一个连接的一个快照中读取副区，不并行读取</translation>
    </message>
    <message>
        <source>副区读取连接无法开始快照，改为单连接读取</source>
        <translation>副区读取连接无法开始快照，改为单连接读取</translation>
    </message>
    <message>
        <source>副区无法开始一致的读取：%1</source>
        <translation>副区无法开始一致的读取：%1</translation>
    </message>
    <message>
        <source>副区的所有读取都在同一时刻的快照中进行</source>
        <translation>副区的所有读取都在同一时刻的快照中进行</translation>
    </message>
    <message>
        <source>副区读取连接失败（%1），改为单连接读取</source>
        <translation>副区读取连接失败（%1），改为单连接读取</translation>
    </message>
    <message>
        <source>统计副区表 %1 失败：%2</source>
        <translation>统计副区表 %1 失败：%2</translation>
    </message>
    <message>
        <source>检查是否已合并失败：%1</source>
        <translation>检查是否已合并失败：%1</translation>
    </message>
    <message>
        <source>========== 数据统计 ==========</source>
        <translation>========== 数据统计 ==========</translation>
    </message>
    <message>
        <source>【%1】表数量: %2, 账号数量: %3, 角色数量: %4</source>
        <translation>【%1】表数量: %2, 账号数量: %3, 角色数量: %4</translation>
    </message>
    <message>
        <source>主区</source>
        <translation>主区</translation>
    </message>
    <message>
        <source>副区</source>
        <translation>副区</translation>
    </message>
    <message>
        <source>========== 冲突检测 ==========</source>
        <translation>========== 冲突检测 ==========</translation>
    </message>
    <message>
        <source>【冲突统计】角色名冲突: %1 个, 账号名冲突: %2 个</source>
        <translation>【冲突统计】角色名冲突: %1 个, 账号名冲突: %2 个</translation>
    </message>
    <message>
        <source>冲突%1名(前20个): %2 ...</source>
        <translation>冲突%1名(前20个): %2 ...</translation>
    </message>
    <message>
        <source>冲突%1名: </source>
        <translation>冲突%1名: </translation>
    </message>
    <message>
        <source>冲突%1将添加后缀: %2</source>
        <translation>冲突%1将添加后缀: %2</translation>
    </message>
    <message>
        <source>角色</source>
        <translation>角色</translation>
    </message>
    <message>
        <source>账号</source>
        <translation>账号</translation>
    </message>
    <message>
        <source>数据统计</source>
        <translation>数据统计</translation>
    </message>
    <message>
        <source>冲突检测</source>
        <translation>冲突检测</translation>
    </message>
    <message>
        <source>[%1] 未找到等级≤%2的角色</source>
        <translation>[%1] 未找到等级≤%2的角色</translation>
    </message>
    <message>
        <source>[%1] 找到 %2 个等级≤%3的角色，开始清理...</source>
        <translation>[%1] 找到 %2 个等级≤%3的角色，开始清理...</translation>
    </message>
    <message>
        <source>[%1] 清理 %2 失败：%3</source>
        <translation>[%1] 清理 %2 失败：%3</translation>
    </message>
    <message>
        <source>[%1] 低等级角色清理完成</source>
        <translation>[%1] 低等级角色清理完成</translation>
    </message>
    <message>
        <source>清理低等级角色</source>
        <translation>清理低等级角色</translation>
    </message>
    <message>
        <source>========== 清理副区低等级角色 ==========</source>
        <translation>========== 清理副区低等级角色 ==========</translation>
    </message>
    <message>
        <source>清理等级 ≤ %1 的角色</source>
        <translation>清理等级 ≤ %1 的角色</translation>
    </message>
    <message>
        <source>跨服合区 清理副区 %1:%2/%3 WorldID %4 等级≤%5的角色</source>
        <translation>跨服合区 清理副区 %1:%2/%3 WorldID %4 等级≤%5的角色</translation>
    </message>
    <message>
        <source>无法读取副区低等级角色</source>
        <translation>无法读取副区低等级角色</translation>
    </message>
    <message>
        <source>清理失败，已回滚</source>
        <translation>清理失败，已回滚</translation>
    </message>
    <message>
        <source>副区撤销文件: %1</source>
        <translation>副区撤销文件: %1</translation>
    </message>
    <message>
        <source>跳过web库合并（用户未勾选）</source>
        <translation>跳过web库合并（用户未勾选）</translation>
    </message>
    <message>
        <source>合并账号</source>
        <translation>合并账号</translation>
    </message>
    <message>
        <source>合并账号数据...</source>
        <translation>合并账号数据...</translation>
    </message>
    <message>
        <source>账号批量插入失败：%1</source>
        <translation>账号批量插入失败：%1</translation>
    </message>
    <message>
        <source>账号合并完成：成功 %1 个，冲突改名 %2 个</source>
        <translation>账号合并完成：成功 %1 个，冲突改名 %2 个</translation>
    </message>
    <message>
        <source>合并角色</source>
        <translation>合并角色</translation>
    </message>
    <message>
        <source>合并角色数据...</source>
        <translation>合并角色数据...</translation>
    </message>
    <message>
        <source>获取到 t_char 表 %1 个字段</source>
        <translation>获取到 t_char 表 %1 个字段</translation>
    </message>
    <message>
        <source>角色插入失败: %1</source>
        <translation>角色插入失败: %1</translation>
    </message>
    <message>
        <source>角色合并完成：成功 %1 个，角色名冲突 %2 个</source>
        <translation>角色合并完成：成功 %1 个，角色名冲突 %2 个</translation>
    </message>
    <message>
        <source>合并表 %1...</source>
        <translation>合并表 %1...</translation>
    </message>
    <message>
        <source>警告：主区没有表 %1，副区的 %1 数据未拷贝</source>
        <translation>警告：主区没有表 %1，副区的 %1 数据未拷贝</translation>
    </message>
    <message>
        <source>表 %1 不存在，跳过</source>
        <translation>表 %1 不存在，跳过</translation>
    </message>
    <message>
        <source>提示：副区表 %1 缺少 charguid 索引，关联表拷贝可能很慢（建议为 charguid 建索引）</source>
        <translation>提示：副区表 %1 缺少 charguid 索引，关联表拷贝可能很慢（建议为 charguid 建索引）</translation>
    </message>
    <message>
        <source>表 %1 合并失败：%2</source>
        <translation>表 %1 合并失败：%2</translation>
    </message>
    <message>
        <source>表 %1 合并完成：成功 %2，耗时 %3 秒</source>
        <translation>表 %1 合并完成：成功 %2，耗时 %3 秒</translation>
    </message>
    <message>
        <source>合并关联表</source>
        <translation>合并关联表</translation>
    </message>
    <message>
        <source>未合并任何角色，跳过关联表合并。</source>
        <translation>未合并任何角色，跳过关联表合并。</translation>
    </message>
    <message>
        <source>已筛选 %1 个合并的角色用于关联表拷贝</source>
        <translation>已筛选 %1 个合并的角色用于关联表拷贝</translation>
    </message>
    <message>
        <source>========== 开始合并数据 ==========</source>
        <translation>========== 开始合并数据 ==========</translation>
    </message>
    <message>
        <source>WorldID相同，准备重新分配charguid...</source>
        <translation>WorldID相同，准备重新分配charguid...</translation>
    </message>
    <message>
        <source>WorldID不同，检查charguid冲突...</source>
        <translation>WorldID不同，检查charguid冲突...</translation>
    </message>
    <message>
        <source>主区未做任何修改：无法建立临时表：%1</source>
        <translation>主区未做任何修改：无法建立临时表：%1</translation>
    </message>
    <message>
        <source>跨服合区 %1:%2/%3 WorldID %4 → WorldID %5</source>
        <translation>跨服合区 %1:%2/%3 WorldID %4 → WorldID %5</translation>
    </message>
    <message>
        <source>主区未做任何修改：%1</source>
        <translation>主区未做任何修改：%1</translation>
    </message>
    <message>
        <source>主区事务已开始：合区完成前主区不会有任何改动</source>
        <translation>主区事务已开始：合区完成前主区不会有任何改动</translation>
    </message>
    <message>
        <source>分配 charguid</source>
        <translation>分配 charguid</translation>
    </message>
    <message>
        <source>主区 WorldID %1 的 maxcharguid: %2</source>
        <translation>主区 WorldID %1 的 maxcharguid: %2</translation>
    </message>
    <message>
        <source>副区待合并角色数: %1</source>
        <translation>副区待合并角色数: %1</translation>
    </message>
    <message>
        <source>需要重新分配 %1 个 charguid，新范围: %2 - %3</source>
        <translation>需要重新分配 %1 个 charguid，新范围: %2 - %3</translation>
    </message>
    <message>
        <source>副区读取连接出错，改为单连接读取</source>
        <translation>副区读取连接出错，改为单连接读取</translation>
    </message>
    <message>
        <source>更新 t_var 与冲突记录</source>
        <translation>更新 t_var 与冲突记录</translation>
    </message>
    <message>
        <source>已更新 t_var.maxcharguid = %1</source>
        <translation>已更新 t_var.maxcharguid = %1</translation>
    </message>
    <message>
        <source>撤销文件写入失败，主区已回滚：%1</source>
        <translation>撤销文件写入失败，主区已回滚：%1</translation>
    </message>
    <message>
        <source>主区：%1</source>
        <translation>主区：%1</translation>
    </message>
    <message>
        <source>主区事务已提交</source>
        <translation>主区事务已提交</translation>
    </message>
    <message>
        <source>撤销文件: %1</source>
        <translation>撤销文件: %1</translation>
    </message>
    <message>
        <source>副区 %1:%2/%3 WorldID %4 -&gt; 主区 %5:%6/%7 WorldID %8
</source>
        <translation>副区 %1:%2/%3 WorldID %4 -&gt; 主区 %5:%6/%7 WorldID %8
</translation>
    </message>
    <message>
        <source>
%1（%2 个）
</source>
        <translation>
%1（%2 个）
</translation>
    </message>
    <message>
        <source>账号改名</source>
        <translation>账号改名</translation>
    </message>
    <message>
        <source>角色改名</source>
        <translation>角色改名</translation>
    </message>
    <message>
        <source>警告：改名记录文件写入失败：%1</source>
        <translation>警告：改名记录文件写入失败：%1</translation>
    </message>
    <message>
        <source>========== 冲突处理记录 ==========</source>
        <translation>========== 冲突处理记录 ==========</translation>
    </message>
    <message>
        <source>  ... 还有 %1 个未显示</source>
        <translation>  ... 还有 %1 个未显示</translation>
    </message>
    <message>
        <source>【账号改名】共 %1 个：</source>
        <translation>【账号改名】共 %1 个：</translation>
    </message>
    <message>
        <source>【角色改名】共 %1 个：</source>
        <translation>【角色改名】共 %1 个：</translation>
    </message>
    <message>
        <source>全部改名记录: %1</source>
        <translation>全部改名记录: %1</translation>
    </message>
    <message>
        <source>无效角色（isvalid ≠ 1）未合并: %1 个</source>
        <translation>无效角色（isvalid ≠ 1）未合并: %1 个</translation>
    </message>
    <message>
        <source>对方角色未合并而未拷贝的关系: %1 条</source>
        <translation>对方角色未合并而未拷贝的关系: %1 条</translation>
    </message>
    <message>
        <source>为放入字段而截短的名字: %1 个</source>
        <translation>为放入字段而截短的名字: %1 个</translation>
    </message>
    <message>
        <source>========== 未完整合并 ==========</source>
        <translation>========== 未完整合并 ==========</translation>
    </message>
    <message>
        <source>拒绝合区：%1</source>
        <translation>拒绝合区：%1</translation>
    </message>
    <message>
        <source>拒绝合区：主区已有 %1 个副区角色（账号与创建时间相同），这次合区似乎已经做过</source>
        <translation>拒绝合区：主区已有 %1 个副区角色（账号与创建时间相同），这次合区似乎已经做过</translation>
    </message>
    <message>
        <source>备份主区数据库</source>
        <translation>备份主区数据库</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>拒绝合区：服务器在确认之后有了变化，这次合区不再是确认的那个计划（确认的计划 %1，现在 %2），未做任何修改。请重新预览后再确认。</source>
        <translation>拒绝合区：服务器在确认之后有了变化，这次合区不再是确认的那个计划（确认的计划 %1，现在 %2），未做任何修改。请重新预览后再确认。</translation>
    </message>
    <message>
        <source>  %1: 确认时 %2，现在 %3</source>
        <translation>  %1: 确认时 %2，现在 %3</translation>
    </message>
    <message>
        <source>合并的角色</source>
        <translation>合并的角色</translation>
    </message>
    <message>
        <source>换新ID的角色</source>
        <translation>换新ID的角色</translation>
    </message>
    <message>
        <source>改名的角色</source>
        <translation>改名的角色</translation>
    </message>
    <message>
        <source>合并的账号</source>
        <translation>合并的账号</translation>
    </message>
    <message>
        <source>改名的账号</source>
        <translation>改名的账号</translation>
    </message>
    <message>
        <source>主区先清理的角色</source>
        <translation>主区先清理的角色</translation>
    </message>
    <message>
        <source>副区先清理的角色</source>
        <translation>副区先清理的角色</translation>
    </message>
    <message>
        <source>  （数目相同时，变的是角色或账号的名字，或主区 WorldID %1 的角色ID计数器：游戏在这期间创建了角色）</source>
        <translation>  （数目相同时，变的是角色或账号的名字，或主区 WorldID %1 的角色ID计数器：游戏在这期间创建了角色）</translation>
    </message>
    <message>
        <source>主区 WorldID %1 的角色ID计数器在计划之后变了（游戏创建了角色），未做任何修改，请重试</source>
        <translation>主区 WorldID %1 的角色ID计数器在计划之后变了（游戏创建了角色），未做任何修改，请重试</translation>
    </message>
    <message>
        <source>副区读取连接出错（%1），改为单连接读取</source>
        <translation>副区读取连接出错（%1），改为单连接读取</translation>
    </message>
    <message>
        <source>主区不接受本地文件导入（LOAD DATA LOCAL INFILE），各表改用 INSERT 语句写入</source>
        <translation>主区不接受本地文件导入（LOAD DATA LOCAL INFILE），各表改用 INSERT 语句写入</translation>
    </message>
</context>
<context>
    <name>MergeServerDialog</name>
    <message>
        <source>跨服合区</source>
        <translation>跨服合区</translation>
    </message>
    <message>
        <source>主区</source>
        <translation>主区</translation>
    </message>
    <message>
        <source>副区</source>
        <translation>副区</translation>
    </message>
    <message>
        <source>主区配置（目标区）</source>
        <translation>主区配置（目标区）</translation>
    </message>
    <message>
        <source>副区配置（源区）</source>
        <translation>副区配置（源区）</translation>
    </message>
    <message>
        <source>合区配置</source>
        <translation>合区配置</translation>
    </message>
    <message>
        <source>合区模式:</source>
        <translation>合区模式:</translation>
    </message>
    <message>
        <source>请先连接主区和副区</source>
        <translation>请先连接主区和副区</translation>
    </message>
    <message>
        <source>角色名后缀:</source>
        <translation>角色名后缀:</translation>
    </message>
    <message>
        <source>账号名后缀:</source>
        <translation>账号名后缀:</translation>
    </message>
    <message>
        <source>合区前清理低等级角色（两区）</source>
        <translation>合区前清理低等级角色（两区）</translation>
    </message>
    <message>
        <source>清理等级 ≤</source>
        <translation>清理等级 ≤</translation>
    </message>
    <message>
        <source>合并web库（账号数据）</source>
        <translation>合并web库（账号数据）</translation>
    </message>
    <message>
        <source>勾选后将合并副区的web库账号数据到主区</source>
        <translation>勾选后将合并副区的web库账号数据到主区</translation>
    </message>
    <message>
        <source>开始合区</source>
        <translation>开始合区</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>就绪</source>
        <translation>就绪</translation>
    </message>
    <message>
        <source>手动输入</source>
        <translation>手动输入</translation>
    </message>
    <message>
        <source>测试</source>
        <translation>测试</translation>
    </message>
    <message>
        <source>连接</source>
        <translation>连接</translation>
    </message>
    <message>
        <source>○ 未连接</source>
        <translation>○ 未连接</translation>
    </message>
    <message>
        <source>预设:</source>
        <translation>预设:</translation>
    </message>
    <message>
        <source>主机:</source>
        <translation>主机:</translation>
    </message>
    <message>
        <source>端口:</source>
        <translation>端口:</translation>
    </message>
    <message>
        <source>用户:</source>
        <translation>用户:</translation>
    </message>
    <message>
        <source>密码:</source>
        <translation>密码:</translation>
    </message>
    <message>
        <source>角色库:</source>
        <translation>角色库:</translation>
    </message>
    <message>
        <source>账号库:</source>
        <translation>账号库:</translation>
    </message>
    <message>
        <source>● 连接中…</source>
        <translation>● 连接中…</translation>
    </message>
    <message>
        <source>%1连接测试成功！</source>
        <translation>%1连接测试成功！</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>%1数据库连接测试成功！
角色库: </source>
        <translation>%1数据库连接测试成功！
角色库: </translation>
    </message>
    <message>
        <source>
账号库: </source>
        <translation>
账号库: </translation>
    </message>
    <message>
        <source>失败</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>连接失败：%1连接失败: %2</source>
        <translation>连接失败：%1连接失败: %2</translation>
    </message>
    <message>
        <source>%1连接失败</source>
        <translation>%1连接失败</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>错误</translation>
    </message>
    <message>
        <source>无法连接%1%2 &apos;%3&apos;（已重试%4次）</source>
        <translation>无法连接%1%2 &apos;%3&apos;（已重试%4次）</translation>
    </message>
    <message>
        <source>● 已连接</source>
        <translation>● 已连接</translation>
    </message>
    <message>
        <source>断开</source>
        <translation>断开</translation>
    </message>
    <message>
        <source>%1连接成功，发现 %2 个WorldID</source>
        <translation>%1连接成功，发现 %2 个WorldID</translation>
    </message>
    <message>
        <source>测试%1连接...</source>
        <translation>测试%1连接...</translation>
    </message>
    <message>
        <source>连接参数: %1:%2, 角色库=%3, 账号库=%4</source>
        <translation>连接参数: %1:%2, 角色库=%3, 账号库=%4</translation>
    </message>
    <message>
        <source>请输入主区主机地址</source>
        <translation>请输入主区主机地址</translation>
    </message>
    <message>
        <source>正在连接%1数据库...</source>
        <translation>正在连接%1数据库...</translation>
    </message>
    <message>
        <source>%1连接参数: %2:%3, 角色库=%4, 账号库=%5</source>
        <translation>%1连接参数: %2:%3, 角色库=%4, 账号库=%5</translation>
    </message>
    <message>
        <source>已完成合区 (%1 ← %2)，如需再合并请更换区服</source>
        <translation>已完成合区 (%1 ← %2)，如需再合并请更换区服</translation>
    </message>
    <message>
        <source>WorldID 不同 (%1 ← %2) - 保持charguid</source>
        <translation>WorldID 不同 (%1 ← %2) - 保持charguid</translation>
    </message>
    <message>
        <source>WorldID 相同 (%1) - 需重新分配charguid</source>
        <translation>WorldID 相同 (%1) - 需重新分配charguid</translation>
    </message>
    <message>
        <source>取消合区</source>
        <translation>取消合区</translation>
    </message>
    <message>
        <source>有操作正在进行中...</source>
        <translation>有操作正在进行中...</translation>
    </message>
    <message>
        <source>========== 开始合区 ==========</source>
        <translation>========== 开始合区 ==========</translation>
    </message>
    <message>
        <source>输入错误</source>
        <translation>输入错误</translation>
    </message>
    <message>
        <source>预检中...</source>
        <translation>预检中...</translation>
    </message>
    <message>
        <source>合区预检失败，未做任何修改，请检查日志！</source>
        <translation>合区预检失败，未做任何修改，请检查日志！</translation>
    </message>
    <message>
        <source>无法合区</source>
        <translation>无法合区</translation>
    </message>
    <message>
        <source>合区未开始，两边都没有改动：

</source>
        <translation>合区未开始，两边都没有改动：

</translation>
    </message>
    <message>
        <source>可能已经合并过</source>
        <translation>可能已经合并过</translation>
    </message>
    <message>
        <source>主区已有 %1 个副区角色（账号与创建时间相同），这次合区似乎已经做过。

再次合并会把这些角色和账号再复制一份（带后缀）。确定要继续吗？</source>
        <translation>主区已有 %1 个副区角色（账号与创建时间相同），这次合区似乎已经做过。

再次合并会把这些角色和账号再复制一份（带后缀）。确定要继续吗？</translation>
    </message>
    <message>
        <source>确认合区</source>
        <translation>确认合区</translation>
    </message>
    <message>
        <source>确定要将副区 WorldID=%1 的数据合并到主区 WorldID=%2 吗？

%3

此操作不可逆！</source>
        <translation>确定要将副区 WorldID=%1 的数据合并到主区 WorldID=%2 吗？

%3

此操作不可逆！</translation>
    </message>
    <message>
        <source>备份数据库</source>
        <translation>备份数据库</translation>
    </message>
    <message>
        <source>是否在合区前备份主区数据库？

备份可能需要几分钟时间。</source>
        <translation>是否在合区前备份主区数据库？

备份可能需要几分钟时间。</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>合区中...</source>
        <translation>合区中...</translation>
    </message>
    <message>
        <source>合区正在进行。取消后，主区保持合区开始前的样子。

确定要取消吗？</source>
        <translation>合区正在进行。取消后，主区保持合区开始前的样子。

确定要取消吗？</translation>
    </message>
    <message>
        <source>正在取消合区...</source>
        <translation>正在取消合区...</translation>
    </message>
    <message>
        <source>正在取消...</source>
        <translation>正在取消...</translation>
    </message>
    <message>
        <source>========== 合区完成 ==========</source>
        <translation>========== 合区完成 ==========</translation>
    </message>
    <message>
        <source>========== 合区已取消，主区未改动 ==========</source>
        <translation>========== 合区已取消，主区未改动 ==========</translation>
    </message>
    <message>
        <source>========== 合区失败 ==========</source>
        <translation>========== 合区失败 ==========</translation>
    </message>
    <message>
        <source>合区已取消</source>
        <translation>合区已取消</translation>
    </message>
    <message>
        <source>合区失败</source>
        <translation>合区失败</translation>
    </message>
    <message>
        <source>合区已取消，主区保持原样。</source>
        <translation>合区已取消，主区保持原样。</translation>
    </message>
    <message>
        <source>合区操作失败，请检查日志！</source>
        <translation>合区操作失败，请检查日志！</translation>
    </message>
    <message>
        <source>合区完成（有数据未合并）</source>
        <translation>合区完成（有数据未合并）</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>合区已完成，但有数据未能合并：

</source>
        <translation>合区已完成，但有数据未能合并：

</translation>
    </message>
    <message>
        <source>

详情请查看日志。</source>
        <translation>

详情请查看日志。</translation>
    </message>
    <message>
        <source>合区完成</source>
        <translation>合区完成</translation>
    </message>
    <message>
        <source>合区操作完成！</source>
        <translation>合区操作完成！</translation>
    </message>
    <message>
        <source>角色库</source>
        <translation>角色库</translation>
    </message>
    <message>
        <source>账号库</source>
        <translation>账号库</translation>
    </message>
    <message>
        <source>%1%2</source>
        <translation>%1%2</translation>
    </message>
    <message>
        <source>%1连接成功: %2</source>
        <translation>%1连接成功: %2</translation>
    </message>
    <message>
        <source>%1连接失败（尝试 %2/%3）：%4</source>
        <translation>%1连接失败（尝试 %2/%3）：%4</translation>
    </message>
    <message>
        <source>%1连接失败: %2</source>
        <translation>%1连接失败: %2</translation>
    </message>
</context>
<context>
    <name>MergeSettings</name>
    <message>
        <source>清理等级必须为%1-%2之间的数字</source>
        <translation>清理等级必须为%1-%2之间的数字</translation>
    </message>
</context>
<context>
    <name>OdbcWarning</name>
    <message>
        <source>缺少 MySQL ODBC 驱动</source>
        <translation>缺少 MySQL ODBC 驱动</translation>
    </message>
</context>
<context>
    <name>RestorePreview</name>
    <message>
        <source>无法读取备份文件 %1: %2</source>
        <translation>无法读取备份文件 %1: %2</translation>
    </message>
    <message>
        <source>%1 不是完整的备份（没有 mysqldump 结尾的 &quot;-- Dump completed&quot;，可能是失败或中断的备份），拒绝恢复</source>
        <translation>%1 不是完整的备份（没有 mysqldump 结尾的 &quot;-- Dump completed&quot;，可能是失败或中断的备份），拒绝恢复</translation>
    </message>
    <message>
        <source>%1 含有恢复不能执行的内容，拒绝恢复，未做任何修改: %2</source>
        <translation>%1 含有恢复不能执行的内容，拒绝恢复，未做任何修改: %2</translation>
    </message>
    <message>
        <source>  %1: 现有 %2 条，文件删除此表（DROP TABLE）</source>
        <translation>  %1: 现有 %2 条，文件删除此表（DROP TABLE）</translation>
    </message>
    <message>
        <source>  %1: 现有 %2 条 → 恢复后 %3 条</source>
        <translation>  %1: 现有 %2 条 → 恢复后 %3 条</translation>
    </message>
    <message>
        <source>  %1: 现在没有此表 → 恢复后 %2 条</source>
        <translation>  %1: 现在没有此表 → 恢复后 %2 条</translation>
    </message>
    <message>
        <source>  %1: 现有 %2 条，文件清空或删除此表的行（%3），再写入 %4 条</source>
        <translation>  %1: 现有 %2 条，文件清空或删除此表的行（%3），再写入 %4 条</translation>
    </message>
    <message>
        <source>  %1: 现有 %2 条，文件另外写入 %3 条</source>
        <translation>  %1: 现有 %2 条，文件另外写入 %3 条</translation>
    </message>
    <message>
        <source>  %1: 现有 %2 条，文件中没有此表，保持不变</source>
        <translation>  %1: 现有 %2 条，文件中没有此表，保持不变</translation>
    </message>
</context>
<context>
    <name>RestorePreview::Scanner</name>
    <message>
        <source>第 %1 行: %2</source>
        <translation>第 %1 行: %2</translation>
    </message>
    <message>
        <source>DELIMITER 没有给出分隔符</source>
        <translation>DELIMITER 没有给出分隔符</translation>
    </message>
    <message>
        <source>客户端命令 %1</source>
        <translation>客户端命令 %1</translation>
    </message>
    <message>
        <source>客户端命令 \%1</source>
        <translation>客户端命令 \%1</translation>
    </message>
    <message>
        <source>表 %1.%2 属于另一个数据库</source>
        <translation>表 %1.%2 属于另一个数据库</translation>
    </message>
    <message>
        <source>语句改动服务器的设置: SET %1</source>
        <translation>语句改动服务器的设置: SET %1</translation>
    </message>
    <message>
        <source>文件删除数据库</source>
        <translation>文件删除数据库</translation>
    </message>
    <message>
        <source>备份中不该有的语句: DROP %1</source>
        <translation>备份中不该有的语句: DROP %1</translation>
    </message>
    <message>
        <source>文件创建数据库 %1</source>
        <translation>文件创建数据库 %1</translation>
    </message>
    <message>
        <source>备份中不该有的语句: CREATE %1</source>
        <translation>备份中不该有的语句: CREATE %1</translation>
    </message>
    <message>
        <source>文件改动另一个数据库 %1</source>
        <translation>文件改动另一个数据库 %1</translation>
    </message>
    <message>
        <source>备份中不该有的语句: ALTER %1</source>
        <translation>备份中不该有的语句: ALTER %1</translation>
    </message>
    <message>
        <source>备份中不该有的语句: DELETE</source>
        <translation>备份中不该有的语句: DELETE</translation>
    </message>
    <message>
        <source>文件切换到另一个数据库 %1</source>
        <translation>文件切换到另一个数据库 %1</translation>
    </message>
    <message>
        <source>备份中不该有的语句: %1</source>
        <translation>备份中不该有的语句: %1</translation>
    </message>
</context>
<context>
    <name>RowCopier</name>
    <message>
        <source>合区已取消</source>
        <translation>合区已取消</translation>
    </message>
    <message>
        <source>写入 %1 行，应为 %2 行</source>
        <translation>写入 %1 行，应为 %2 行</translation>
    </message>
    <message>
        <source>无法写入的值类型 %1</source>
        <translation>无法写入的值类型 %1</translation>
    </message>
</context>
<context>
    <name>RowPreview</name>
    <message>
        <source>t_relation(反向关系)</source>
        <translation>t_relation(反向关系)</translation>
    </message>
    <message>
        <source>%1(删除)</source>
        <translation>%1(删除)</translation>
    </message>
    <message>
        <source>%1(重新写入)</source>
        <translation>%1(重新写入)</translation>
    </message>
    <message>
        <source>  跳过 %1: 表不存在</source>
        <translation>  跳过 %1: 表不存在</translation>
    </message>
    <message>
        <source>  %1: 统计失败: %2</source>
        <translation>  %1: 统计失败: %2</translation>
    </message>
    <message>
        <source>注意：游戏可能仍在运行：%1 个其他客户端连接正在使用这些数据库，%2 个账号标记为在线。建议先停服再操作。</source>
        <translation>注意：游戏可能仍在运行：%1 个其他客户端连接正在使用这些数据库，%2 个账号标记为在线。建议先停服再操作。</translation>
    </message>
    <message>
        <source>注意：%1这次操作在一个事务中改动约 %2 行，行锁约需 %3 MB，而 innodb_buffer_pool_size 只有 %4 MB；锁放不下时服务器会在做完大部分工作后报错 1206 并全部回滚。请先把 innodb_buffer_pool_size 调到 %5 MB 以上，或一次少处理几个区。</source>
        <translation>注意：%1这次操作在一个事务中改动约 %2 行，行锁约需 %3 MB，而 innodb_buffer_pool_size 只有 %4 MB；锁放不下时服务器会在做完大部分工作后报错 1206 并全部回滚。请先把 innodb_buffer_pool_size 调到 %5 MB 以上，或一次少处理几个区。</translation>
    </message>
    <message>
        <source>：</source>
        <translation>：</translation>
    </message>
    <message>
        <source>注意：无法确认游戏是否已停止：当前用户没有 PROCESS 权限，看不到其他客户端的连接；%1 个账号标记为在线。建议先停服再操作。</source>
        <translation>注意：无法确认游戏是否已停止：当前用户没有 PROCESS 权限，看不到其他客户端的连接；%1 个账号标记为在线。建议先停服再操作。</translation>
    </message>
    <message numerus="yes">
        <source>  %1: %Ln 条记录</source>
        <translation>
            <numerusform>  %1: %Ln 条记录</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SameServerMerge</name>
    <message>
        <source>删除两个区等级 ≤ %1 的角色:</source>
        <translation>删除两个区等级 ≤ %1 的角色:</translation>
    </message>
    <message>
        <source>WorldID %1 → %2，改动的记录:</source>
        <translation>WorldID %1 → %2，改动的记录:</translation>
    </message>
    <message>
        <source>  %1.account: 导入 %2 个账号，其中 %3 个重名加后缀</source>
        <translation>  %1.account: 导入 %2 个账号，其中 %3 个重名加后缀</translation>
    </message>
    <message>
        <source>  账号统计失败: %1</source>
        <translation>  账号统计失败: %1</translation>
    </message>
    <message>
        <source>副区和主区不能相同！</source>
        <translation>副区和主区不能相同！</translation>
    </message>
    <message>
        <source>账号库名称无效: %1</source>
        <translation>账号库名称无效: %1</translation>
    </message>
    <message>
        <source>主区和副区是同一个账号库 %1，不能把它合并到自身</source>
        <translation>主区和副区是同一个账号库 %1，不能把它合并到自身</translation>
    </message>
    <message>
        <source>冲突账号后缀不能为空</source>
        <translation>冲突账号后缀不能为空</translation>
    </message>
    <message>
        <source>同服合区</source>
        <translation>同服合区</translation>
    </message>
    <message>
        <source>❌ 数据库连接失败</source>
        <translation>❌ 数据库连接失败</translation>
    </message>
</context>
<context>
    <name>SameServerMergeDialog</name>
    <message>
        <source>同服合区 - %1</source>
        <translation>同服合区 - %1</translation>
    </message>
    <message>
        <source>区服设置</source>
        <translation>区服设置</translation>
    </message>
    <message>
        <source>副区 (被合并):</source>
        <translation>副区 (被合并):</translation>
    </message>
    <message>
        <source>主区 (合并到):</source>
        <translation>主区 (合并到):</translation>
    </message>
    <message>
        <source>清理低等级角色</source>
        <translation>清理低等级角色</translation>
    </message>
    <message>
        <source>合区前清理低等级角色</source>
        <translation>合区前清理低等级角色</translation>
    </message>
    <message>
        <source>待清理: 0 个</source>
        <translation>待清理: 0 个</translation>
    </message>
    <message>
        <source>等级 ≤</source>
        <translation>等级 ≤</translation>
    </message>
    <message>
        <source>账号库模式</source>
        <translation>账号库模式</translation>
    </message>
    <message>
        <source>同一账号库（默认）</source>
        <translation>同一账号库（默认）</translation>
    </message>
    <message>
        <source>独立账号库</source>
        <translation>独立账号库</translation>
    </message>
    <message>
        <source>独立账号库设置</source>
        <translation>独立账号库设置</translation>
    </message>
    <message>
        <source>如: web</source>
        <translation>如: web</translation>
    </message>
    <message>
        <source>如: web2</source>
        <translation>如: web2</translation>
    </message>
    <message>
        <source>如: _s2</source>
        <translation>如: _s2</translation>
    </message>
    <message>
        <source>冲突: 0 个</source>
        <translation>冲突: 0 个</translation>
    </message>
    <message>
        <source>主区账号库:</source>
        <translation>主区账号库:</translation>
    </message>
    <message>
        <source>副区账号库:</source>
        <translation>副区账号库:</translation>
    </message>
    <message>
        <source>冲突后缀:</source>
        <translation>冲突后缀:</translation>
    </message>
    <message>
        <source>操作预览</source>
        <translation>操作预览</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>执行合区</source>
        <translation>执行合区</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>待清理: %1 个</source>
        <translation>待清理: %1 个</translation>
    </message>
    <message>
        <source>冲突: %1 个</source>
        <translation>冲突: %1 个</translation>
    </message>
    <message>
        <source>副区 [%1]: %2 个角色
主区 [%3]: %4 个角色
</source>
        <translation>副区 [%1]: %2 个角色
主区 [%3]: %4 个角色
</translation>
    </message>
    <message>
        <source>
⚠️ 副区和主区不能相同！
</source>
        <translation>
⚠️ 副区和主区不能相同！
</translation>
    </message>
    <message>
        <source>清理 ≤%1级: %2 个
</source>
        <translation>清理 ≤%1级: %2 个
</translation>
    </message>
    <message>
        <source>副区账号: %1 个
</source>
        <translation>副区账号: %1 个
</translation>
    </message>
    <message>
        <source>冲突账号: %1 个
</source>
        <translation>冲突账号: %1 个
</translation>
    </message>
    <message>
        <source>
合并后总角色: %1 个
</source>
        <translation>
合并后总角色: %1 个
</translation>
    </message>
    <message>
        <source>自动同步world字段</source>
        <translation>自动同步world字段</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>副区和主区不能相同！</source>
        <translation>副区和主区不能相同！</translation>
    </message>
    <message>
        <source>请输入主区账号库名称！</source>
        <translation>请输入主区账号库名称！</translation>
    </message>
    <message>
        <source>请输入副区账号库名称！</source>
        <translation>请输入副区账号库名称！</translation>
    </message>
    <message>
        <source>请输入冲突账号后缀！</source>
        <translation>请输入冲突账号后缀！</translation>
    </message>
    <message>
        <source>账号库名称只能包含字母、数字、_ 和 $！</source>
        <translation>账号库名称只能包含字母、数字、_ 和 $！</translation>
    </message>
    <message>
        <source>确认执行合区</source>
        <translation>确认执行合区</translation>
    </message>
    <message>
        <source>即将执行同服合区操作：

副区 [%1] → 主区 [%2]</source>
        <translation>即将执行同服合区操作：

副区 [%1] → 主区 [%2]</translation>
    </message>
    <message>
        <source>同服合区</source>
        <translation>同服合区</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>══ 开始异步合区操作 ══</source>
        <translation>══ 开始异步合区操作 ══</translation>
    </message>
    <message>
        <source>副区: %1, 主区: %2</source>
        <translation>副区: %1, 主区: %2</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>══ 合区完成 ══</source>
        <translation>══ 合区完成 ══</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>成功</translation>
    </message>
    <message>
        <source>同服合区操作完成！</source>
        <translation>同服合区操作完成！</translation>
    </message>
    <message>
        <source>══ 合区失败 ══</source>
        <translation>══ 合区失败 ══</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>合区操作失败，数据已回滚，请查看日志。</source>
        <translation>合区操作失败，数据已回滚，请查看日志。</translation>
    </message>
    <message numerus="yes">
        <source>%1 (%Ln个角色)</source>
        <translation>
            <numerusform>%1 (%Ln个角色)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SameServerMergeRun</name>
    <message>
        <source>错误: %1</source>
        <translation>错误: %1</translation>
    </message>
    <message>
        <source>  %1: 表不存在，已跳过</source>
        <translation>  %1: 表不存在，已跳过</translation>
    </message>
    <message>
        <source>错误: %1: %2</source>
        <translation>错误: %1: %2</translation>
    </message>
    <message>
        <source>错误: %1时数据被截断或改变: %2</source>
        <translation>错误: %1时数据被截断或改变: %2</translation>
    </message>
    <message>
        <source>↩ 事务已回滚</source>
        <translation>↩ 事务已回滚</translation>
    </message>
    <message>
        <source>❌ 事务回滚失败: %1</source>
        <translation>❌ 事务回滚失败: %1</translation>
    </message>
    <message>
        <source>❌ 无法建立临时表，未做任何修改: %1</source>
        <translation>❌ 无法建立临时表，未做任何修改: %1</translation>
    </message>
    <message>
        <source>同服合区 WorldID %1 → %2</source>
        <translation>同服合区 WorldID %1 → %2</translation>
    </message>
    <message>
        <source>✔ 已启动数据库事务</source>
        <translation>✔ 已启动数据库事务</translation>
    </message>
    <message>
        <source>══ 清理低等级角色 ══</source>
        <translation>══ 清理低等级角色 ══</translation>
    </message>
    <message>
        <source>❌ 清理失败</source>
        <translation>❌ 清理失败</translation>
    </message>
    <message>
        <source>❌ 撤销文件写入失败</source>
        <translation>❌ 撤销文件写入失败</translation>
    </message>
    <message>
        <source>══ 合并账号库 ══</source>
        <translation>══ 合并账号库 ══</translation>
    </message>
    <message>
        <source>❌ 账号合并失败</source>
        <translation>❌ 账号合并失败</translation>
    </message>
    <message>
        <source>══ 更新角色账号 ══</source>
        <translation>══ 更新角色账号 ══</translation>
    </message>
    <message>
        <source>❌ 账号更新失败</source>
        <translation>❌ 账号更新失败</translation>
    </message>
    <message>
        <source>══ 执行合区 ══</source>
        <translation>══ 执行合区 ══</translation>
    </message>
    <message>
        <source>❌ 合区失败</source>
        <translation>❌ 合区失败</translation>
    </message>
    <message>
        <source>══ 同步world字段 ══</source>
        <translation>══ 同步world字段 ══</translation>
    </message>
    <message>
        <source>❌ 同步失败</source>
        <translation>❌ 同步失败</translation>
    </message>
    <message>
        <source>✔ 事务已提交</source>
        <translation>✔ 事务已提交</translation>
    </message>
    <message>
        <source>撤销文件: %1</source>
        <translation>撤销文件: %1</translation>
    </message>
    <message>
        <source>没有需要清理的角色</source>
        <translation>没有需要清理的角色</translation>
    </message>
    <message>
        <source>待清理: %1 个</source>
        <translation>待清理: %1 个</translation>
    </message>
    <message>
        <source>✓ 删除 %1 个角色</source>
        <translation>✓ 删除 %1 个角色</translation>
    </message>
    <message>
        <source>错误: 无法读取账号表 %1.account 与 %2.account 的结构: %3</source>
        <translation>错误: 无法读取账号表 %1.account 与 %2.account 的结构: %3</translation>
    </message>
    <message>
        <source>副区没有账号需要合并</source>
        <translation>副区没有账号需要合并</translation>
    </message>
    <message>
        <source>副区账号: %1 个, 冲突: %2 个</source>
        <translation>副区账号: %1 个, 冲突: %2 个</translation>
    </message>
    <message>
        <source>  冲突账号 %1 → %2</source>
        <translation>  冲突账号 %1 → %2</translation>
    </message>
    <message>
        <source>导入账号</source>
        <translation>导入账号</translation>
    </message>
    <message>
        <source>✓ 导入 %1 个账号, 冲突处理 %2 个</source>
        <translation>✓ 导入 %1 个账号, 冲突处理 %2 个</translation>
    </message>
    <message>
        <source>没有需要更新的账号</source>
        <translation>没有需要更新的账号</translation>
    </message>
    <message>
        <source>更新角色账号</source>
        <translation>更新角色账号</translation>
    </message>
    <message>
        <source>✓ 更新 %1 个账号的 %2 个角色</source>
        <translation>✓ 更新 %1 个账号的 %2 个角色</translation>
    </message>
    <message>
        <source>待修改: %1 个角色</source>
        <translation>待修改: %1 个角色</translation>
    </message>
    <message>
        <source>✓ 修改 %1 个角色</source>
        <translation>✓ 修改 %1 个角色</translation>
    </message>
    <message>
        <source>没有需要更新的角色</source>
        <translation>没有需要更新的角色</translation>
    </message>
    <message>
        <source>✓ world字段同步完成</source>
        <translation>✓ world字段同步完成</translation>
    </message>
    <message numerus="yes">
        <source>  %1: %Ln条</source>
        <translation>
            <numerusform>  %1: %Ln条</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SessionTask</name>
    <message>
        <source>未连接到数据库</source>
        <translation>未连接到数据库</translation>
    </message>
    <message>
        <source>连接数据库失败: %1</source>
        <translation>连接数据库失败: %1</translation>
    </message>
</context>
<context>
    <name>Sql</name>
    <message>
        <source>无法精确写出的值: %1</source>
        <translation>无法精确写出的值: %1</translation>
    </message>
    <message>
        <source>无法写出的浮点值: %1</source>
        <translation>无法写出的浮点值: %1</translation>
    </message>
    <message>
        <source>无法精确写出的时间值: %1</source>
        <translation>无法精确写出的时间值: %1</translation>
    </message>
    <message>
        <source>无法精确写出的时间戳: %1</source>
        <translation>无法精确写出的时间戳: %1</translation>
    </message>
    <message>
        <source>无法写入的值类型 %1</source>
        <translation>无法写入的值类型 %1</translation>
    </message>
</context>
<context>
    <name>Startup</name>
    <message>
        <source>未检测到 MySQL ODBC 驱动，程序可能无法连接数据库。

请下载安装 MySQL ODBC 驱动:
</source>
        <translation>未检测到 MySQL ODBC 驱动，程序可能无法连接数据库。

请下载安装 MySQL ODBC 驱动:
</translation>
    </message>
    <message>
        <source>

或者运行程序目录下的 mysql-connector-odbc-9.x.x-winx64.msi

是否继续启动程序？</source>
        <translation>

或者运行程序目录下的 mysql-connector-odbc-9.x.x-winx64.msi

是否继续启动程序？</translation>
    </message>
    <message>
        <source>没有能显示中文的字体（请安装 fonts-noto-cjk 或 fonts-wqy-microhei），界面改用英文</source>
        <translation>没有能显示中文的字体（请安装 fonts-noto-cjk 或 fonts-wqy-microhei），界面改用英文</translation>
    </message>
</context>
<context>
    <name>UndoApply</name>
    <message>
        <source>无法读取撤销文件: %1</source>
        <translation>无法读取撤销文件: %1</translation>
    </message>
    <message>
        <source>%1 不是撤销文件</source>
        <translation>%1 不是撤销文件</translation>
    </message>
    <message>
        <source>撤销文件不完整（没有结尾的校验行和 COMMIT），可能被截断，拒绝执行，未做任何修改</source>
        <translation>撤销文件不完整（没有结尾的校验行和 COMMIT），可能被截断，拒绝执行，未做任何修改</translation>
    </message>
    <message>
        <source>撤销文件的校验和不符，文件已被修改或损坏，拒绝执行，未做任何修改</source>
        <translation>撤销文件的校验和不符，文件已被修改或损坏，拒绝执行，未做任何修改</translation>
    </message>
    <message>
        <source>撤销文件含有程序不会写出的内容，拒绝执行，未做任何修改: %1</source>
        <translation>撤销文件含有程序不会写出的内容，拒绝执行，未做任何修改: %1</translation>
    </message>
    <message>
        <source>语句不在程序写它的位置: %1</source>
        <translation>语句不在程序写它的位置: %1</translation>
    </message>
    <message>
        <source>语句作用于文件头没有列出的数据库 %1</source>
        <translation>语句作用于文件头没有列出的数据库 %1</translation>
    </message>
</context>
<context>
    <name>UndoDialog</name>
    <message>
        <source>撤销记录 - %1</source>
        <translation>撤销记录 - %1</translation>
    </message>
    <message>
        <source>撤销文件目录: %1</source>
        <translation>撤销文件目录: %1</translation>
    </message>
    <message>
        <source>时间</source>
        <translation>时间</translation>
    </message>
    <message>
        <source>操作</source>
        <translation>操作</translation>
    </message>
    <message>
        <source>服务器</source>
        <translation>服务器</translation>
    </message>
    <message>
        <source>数据库</source>
        <translation>数据库</translation>
    </message>
    <message>
        <source>记录数</source>
        <translation>记录数</translation>
    </message>
    <message>
        <source>执行撤销</source>
        <translation>执行撤销</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>文件: %1</source>
        <translation>文件: %1</translation>
    </message>
    <message>
        <source>没有撤销文件</source>
        <translation>没有撤销文件</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>请先连接数据库</source>
        <translation>请先连接数据库</translation>
    </message>
    <message>
        <source>无法撤销</source>
        <translation>无法撤销</translation>
    </message>
    <message>
        <source>确认撤销</source>
        <translation>确认撤销</translation>
    </message>
    <message>
        <source>将在 %1 上执行撤销文件，放回“%2”改动的数据。

%3

确定要继续吗？</source>
        <translation>将在 %1 上执行撤销文件，放回“%2”改动的数据。

%3

确定要继续吗？</translation>
    </message>
    <message>
        <source>撤销</source>
        <translation>撤销</translation>
    </message>
    <message>
        <source>执行撤销文件: %1</source>
        <translation>执行撤销文件: %1</translation>
    </message>
    <message>
        <source>撤销完成: %1</source>
        <translation>撤销完成: %1</translation>
    </message>
    <message>
        <source>撤销失败: %1</source>
        <translation>撤销失败: %1</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>撤销完成，数据已放回。

%1</source>
        <translation>撤销完成，数据已放回。

%1</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>服务器不同</source>
        <translation>服务器不同</translation>
    </message>
    <message>
        <source>这个撤销文件写于另一台服务器。

文件: %1
当前服务器: %2

只有当这确实是同一台服务器（迁移过）时才能继续。它是同一台服务器吗？</source>
        <translation>这个撤销文件写于另一台服务器。

文件: %1
当前服务器: %2

只有当这确实是同一台服务器（迁移过）时才能继续。它是同一台服务器吗？</translation>
    </message>
    <message>
        <source>大小</source>
        <translation>大小</translation>
    </message>
    <message>
        <source>清理旧文件...</source>
        <translation>清理旧文件...</translation>
    </message>
    <message>
        <source>清理撤销文件</source>
        <translation>清理撤销文件</translation>
    </message>
    <message>
        <source>删除已执行的撤销文件，以及早于多少天的撤销文件？
（每个数据库最新的一个撤销文件总会保留）</source>
        <translation>删除已执行的撤销文件，以及早于多少天的撤销文件？
（每个数据库最新的一个撤销文件总会保留）</translation>
    </message>
    <message>
        <source>没有要删除的撤销文件</source>
        <translation>没有要删除的撤销文件</translation>
    </message>
    <message>
        <source>%1（已执行）</source>
        <translation>%1（已执行）</translation>
    </message>
    <message numerus="yes">
        <source>共 %Ln 个撤销文件，%1</source>
        <translation>
            <numerusform>共 %Ln 个撤销文件，%1</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>将删除 %Ln 个撤销文件，共 %1。删除后不能再用它们撤销。

确定要继续吗？</source>
        <translation>
            <numerusform>将删除 %Ln 个撤销文件，共 %1。删除后不能再用它们撤销。

确定要继续吗？</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>已删除 %Ln 个撤销文件</source>
        <translation>
            <numerusform>已删除 %Ln 个撤销文件</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>UndoFile</name>
    <message>
        <source>操作: %1</source>
        <translation>操作: %1</translation>
    </message>
    <message>
        <source>时间: %1</source>
        <translation>时间: %1</translation>
    </message>
    <message>
        <source>服务器: %1</source>
        <translation>服务器: %1</translation>
    </message>
    <message>
        <source>数据库: %1</source>
        <translation>数据库: %1</translation>
    </message>
    <message>
        <source>撤销将写回的数据:</source>
        <translation>撤销将写回的数据:</translation>
    </message>
    <message>
        <source>  %1: %2 条记录</source>
        <translation>  %1: %2 条记录</translation>
    </message>
    <message>
        <source>%1 不是撤销文件</source>
        <translation>%1 不是撤销文件</translation>
    </message>
    <message>
        <source>服务器上没有数据库 %1，未做任何修改</source>
        <translation>服务器上没有数据库 %1，未做任何修改</translation>
    </message>
    <message>
        <source>检查角色ID失败: %1</source>
        <translation>检查角色ID失败: %1</translation>
    </message>
    <message>
        <source>以下 %1 个角色ID已被占用，撤销未执行，未做任何修改: %2%3</source>
        <translation>以下 %1 个角色ID已被占用，撤销未执行，未做任何修改: %2%3</translation>
    </message>
    <message>
        <source>读取会话设置失败: %1</source>
        <translation>读取会话设置失败: %1</translation>
    </message>
    <message>
        <source>开启事务失败: %1</source>
        <translation>开启事务失败: %1</translation>
    </message>
    <message>
        <source>撤销前的检查未通过（第 %1 项：%2），数据已不是操作后的样子，撤销未执行，未做任何修改</source>
        <translation>撤销前的检查未通过（第 %1 项：%2），数据已不是操作后的样子，撤销未执行，未做任何修改</translation>
    </message>
    <message>
        <source>撤销失败，已回滚，未做任何修改: %1
%2</source>
        <translation>撤销失败，已回滚，未做任何修改: %1
%2</translation>
    </message>
    <message>
        <source>撤销后恢复会话设置失败: %1</source>
        <translation>撤销后恢复会话设置失败: %1</translation>
    </message>
    <message>
        <source>无法读取当前数据库，撤销文件未能开始: %1</source>
        <translation>无法读取当前数据库，撤销文件未能开始: %1</translation>
    </message>
    <message>
        <source>无法创建撤销文件目录 %1</source>
        <translation>无法创建撤销文件目录 %1</translation>
    </message>
    <message>
        <source>无法创建撤销文件: %1</source>
        <translation>无法创建撤销文件: %1</translation>
    </message>
    <message>
        <source>读取表清单失败: %1</source>
        <translation>读取表清单失败: %1</translation>
    </message>
    <message>
        <source>读取 t_var 失败: %1</source>
        <translation>读取 t_var 失败: %1</translation>
    </message>
    <message>
        <source>t_var: %1 个世界的角色ID计数器都不低于操作时的值</source>
        <translation>t_var: %1 个世界的角色ID计数器都不低于操作时的值</translation>
    </message>
    <message>
        <source>写入撤销文件失败: %1</source>
        <translation>写入撤销文件失败: %1</translation>
    </message>
    <message>
        <source>读取 %1 失败: %2</source>
        <translation>读取 %1 失败: %2</translation>
    </message>
    <message>
        <source>读取表 %1 的字段失败: %2</source>
        <translation>读取表 %1 的字段失败: %2</translation>
    </message>
    <message>
        <source>要放回的 %1 行不存在（%2 空闲）</source>
        <translation>要放回的 %1 行不存在（%2 空闲）</translation>
    </message>
    <message>
        <source>读取 %1 时服务器给出 %2 条警告，撤销文件可能不精确</source>
        <translation>读取 %1 时服务器给出 %2 条警告，撤销文件可能不精确</translation>
    </message>
    <message>
        <source>撤销文件不能写入这条语句: %1</source>
        <translation>撤销文件不能写入这条语句: %1</translation>
    </message>
    <message>
        <source>撤销文件未开始</source>
        <translation>撤销文件未开始</translation>
    </message>
    <message>
        <source>写入撤销文件 %1 失败: %2</source>
        <translation>写入撤销文件 %1 失败: %2</translation>
    </message>
    <message>
        <source>%1 已经执行过（在 applied 目录中），不能再执行</source>
        <translation>%1 已经执行过（在 applied 目录中），不能再执行</translation>
    </message>
    <message>
        <source>这个撤销文件已经执行过（%1），不能再执行</source>
        <translation>这个撤销文件已经执行过（%1），不能再执行</translation>
    </message>
    <message>
        <source>%1（文件没有记录服务器标识）</source>
        <translation>%1（文件没有记录服务器标识）</translation>
    </message>
    <message>
        <source>无法读取: %1</source>
        <translation>无法读取: %1</translation>
    </message>
    <message>
        <source>撤销文件写于另一台服务器，拒绝执行，未做任何修改。
文件: %1
当前服务器: %2
如果这确实是同一台服务器（迁移过），请确认后再执行</source>
        <translation>撤销文件写于另一台服务器，拒绝执行，未做任何修改。
文件: %1
当前服务器: %2
如果这确实是同一台服务器（迁移过），请确认后再执行</translation>
    </message>
    <message>
        <source>撤销文件作用于数据库 %1，而选择的是 %2，拒绝执行，未做任何修改</source>
        <translation>撤销文件作用于数据库 %1，而选择的是 %2，拒绝执行，未做任何修改</translation>
    </message>
    <message>
        <source>与操作后不同的行（%1 行）: %2%3</source>
        <translation>与操作后不同的行（%1 行）: %2%3</translation>
    </message>
    <message>
        <source>撤销文件在执行时被改动，已回滚，未做任何修改</source>
        <translation>撤销文件在执行时被改动，已回滚，未做任何修改</translation>
    </message>
    <message>
        <source>提交撤销时连接中断（%1）；重新连接后核对：撤销已提交</source>
        <translation>提交撤销时连接中断（%1）；重新连接后核对：撤销已提交</translation>
    </message>
    <message>
        <source>提交撤销失败（%1）；核对结果：未提交，数据没有改动（%2）</source>
        <translation>提交撤销失败（%1）；核对结果：未提交，数据没有改动（%2）</translation>
    </message>
    <message>
        <source>提交撤销时连接中断（%1），结果未知：无法确认撤销是否已提交（%2）。请在服务器恢复后用同一文件预演（quorvel-cli undo FILE，不加 --yes）：检查通过说明撤销没有提交，可以再执行；报告检查未通过说明撤销已提交或数据已被改动</source>
        <translation>提交撤销时连接中断（%1），结果未知：无法确认撤销是否已提交（%2）。请在服务器恢复后用同一文件预演（quorvel-cli undo FILE，不加 --yes）：检查通过说明撤销没有提交，可以再执行；报告检查未通过说明撤销已提交或数据已被改动</translation>
    </message>
    <message>
        <source>无法读取服务器的标识，撤销文件未能开始: %1</source>
        <translation>无法读取服务器的标识，撤销文件未能开始: %1</translation>
    </message>
    <message>
        <source>要改回的 %1 行仍是操作后的样子（%2 未变）</source>
        <translation>要改回的 %1 行仍是操作后的样子（%2 未变）</translation>
    </message>
    <message>
        <source>操作写入的 %1 行仍是操作后的样子（每一列都未变）</source>
        <translation>操作写入的 %1 行仍是操作后的样子（每一列都未变）</translation>
    </message>
    <message>
        <source>操作写入的、%2 为这 %1 个值的行仍是操作后的样子（行数和每一列都未变）</source>
        <translation>操作写入的、%2 为这 %1 个值的行仍是操作后的样子（行数和每一列都未变）</translation>
    </message>
    <message>
        <source>服务器与写入时相同 (%1)</source>
        <translation>服务器与写入时相同 (%1)</translation>
    </message>
    <message>
        <source>无法记录已执行的撤销文件: %1</source>
        <translation>无法记录已执行的撤销文件: %1</translation>
    </message>
    <message>
        <source>无法删除 %1</source>
        <translation>无法删除 %1</translation>
    </message>
    <message>
        <source>这个撤销文件已经执行过（其执行记录已清理），不能再执行</source>
        <translation>这个撤销文件已经执行过（其执行记录已清理），不能再执行</translation>
    </message>
</context>
<context>
    <name>UndoScript</name>
    <message>
        <source>一行中有多条语句</source>
        <translation>一行中有多条语句</translation>
    </message>
    <message>
        <source>语句没有以 ; 结束</source>
        <translation>语句没有以 ; 结束</translation>
    </message>
    <message>
        <source>不是程序写出的语句形式</source>
        <translation>不是程序写出的语句形式</translation>
    </message>
    <message>
        <source>第 %1 个字符处: %2</source>
        <translation>第 %1 个字符处: %2</translation>
    </message>
    <message>
        <source>不完整的十六进制值</source>
        <translation>不完整的十六进制值</translation>
    </message>
    <message>
        <source>不完整的数字</source>
        <translation>不完整的数字</translation>
    </message>
    <message>
        <source>未结束的名称</source>
        <translation>未结束的名称</translation>
    </message>
    <message>
        <source>程序不会写出的文本</source>
        <translation>程序不会写出的文本</translation>
    </message>
    <message>
        <source>不完整的变量</source>
        <translation>不完整的变量</translation>
    </message>
    <message>
        <source>注释</source>
        <translation>注释</translation>
    </message>
    <message>
        <source>程序不会写出的字符</source>
        <translation>程序不会写出的字符</translation>
    </message>
</context>
<context>
    <name>UndoableTransaction</name>
    <message>
        <source>开启事务失败: %1</source>
        <translation>开启事务失败: %1</translation>
    </message>
    <message>
        <source>撤销文件无法写入，未做任何修改: %1</source>
        <translation>撤销文件无法写入，未做任何修改: %1</translation>
    </message>
    <message>
        <source>事务未开始</source>
        <translation>事务未开始</translation>
    </message>
    <message>
        <source>撤销文件写入失败，已回滚，未做任何修改: %1</source>
        <translation>撤销文件写入失败，已回滚，未做任何修改: %1</translation>
    </message>
    <message>
        <source>提交时连接中断（%1）；重新连接后核对：已提交</source>
        <translation>提交时连接中断（%1）；重新连接后核对：已提交</translation>
    </message>
    <message>
        <source>提交事务失败（%1）；核对结果：未提交，数据没有改动（%2）</source>
        <translation>提交事务失败（%1）；核对结果：未提交，数据没有改动（%2）</translation>
    </message>
    <message>
        <source>提交时连接中断（%1），结果未知：无法确认操作是否已提交（%2）。撤销文件保留在 %3；服务器恢复后用 quorvel-cli undo %3 预演（不加 --yes）：检查通过说明操作已提交，需要时再加 --yes 撤销；检查未通过说明操作没有提交或数据已被改动</source>
        <translation>提交时连接中断（%1），结果未知：无法确认操作是否已提交（%2）。撤销文件保留在 %3；服务器恢复后用 quorvel-cli undo %3 预演（不加 --yes）：检查通过说明操作已提交，需要时再加 --yes 撤销；检查未通过说明操作没有提交或数据已被改动</translation>
    </message>
    <message>
        <source>提交时连接中断（%1），结果未知：无法确认操作是否已提交（%2）。请重新连接后查看数据</source>
        <translation>提交时连接中断（%1），结果未知：无法确认操作是否已提交（%2）。请重新连接后查看数据</translation>
    </message>
</context>
<context>
    <name>WorldIdSelectorDialog</name>
    <message>
        <source>选择 WorldID</source>
        <translation>选择 WorldID</translation>
    </message>
    <message>
        <source>搜索过滤</source>
        <translation>搜索过滤</translation>
    </message>
    <message>
        <source>输入WorldID进行搜索...</source>
        <translation>输入WorldID进行搜索...</translation>
    </message>
    <message>
        <source>可用的 WorldID</source>
        <translation>可用的 WorldID</translation>
    </message>
    <message>
        <source>批量选择</source>
        <translation>批量选择</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>全选</translation>
    </message>
    <message>
        <source>全不选</source>
        <translation>全不选</translation>
    </message>
    <message>
        <source>反选</source>
        <translation>反选</translation>
    </message>
    <message>
        <source>已选择: 0 / 0 个WorldID</source>
        <translation>已选择: 0 / 0 个WorldID</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>  (角色数: %1)</source>
        <translation>  (角色数: %1)</translation>
    </message>
    <message>
        <source>已选择: %1 / %2 个WorldID</source>
        <translation>已选择: %1 / %2 个WorldID</translation>
    </message>
    <message numerus="yes">
        <source>  (共 %Ln 个角色)</source>
        <translation>
            <numerusform>  (共 %Ln 个角色)</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ZoneWipe</name>
    <message>
        <source>账号删除失败，未做任何修改: %1</source>
        <translation>账号删除失败，未做任何修改: %1</translation>
    </message>
    <message>
        <source>正在删除账号库数据: %1</source>
        <translation>正在删除账号库数据: %1</translation>
    </message>
    <message>
        <source>保留 %1 个账号：它们在未删档的区服还有角色</source>
        <translation>保留 %1 个账号：它们在未删档的区服还有角色</translation>
    </message>
    <message>
        <source>账号库在另一台服务器上，账号的删除不在撤销文件中</source>
        <translation>账号库在另一台服务器上，账号的删除不在撤销文件中</translation>
    </message>
    <message>
        <source>账号删除失败: %1（角色已删除）</source>
        <translation>账号删除失败: %1（角色已删除）</translation>
    </message>
    <message>
        <source>账号库数据删除完成</source>
        <translation>账号库数据删除完成</translation>
    </message>
    <message>
        <source>  %1.account: %2 个账号</source>
        <translation>  %1.account: %2 个账号</translation>
    </message>
    <message>
        <source>  保留 %1 个账号：它们在未删档的区服还有角色</source>
        <translation>  保留 %1 个账号：它们在未删档的区服还有角色</translation>
    </message>
    <message numerus="yes">
        <source>角色数据删除完成，共删除 %Ln 个角色</source>
        <translation>
            <numerusform>角色数据删除完成，共删除 %Ln 个角色</numerusform>
        </translation>
    </message>
    <message>
        <source>读取要删除的账号失败，未做任何修改: %1</source>
        <translation>读取要删除的账号失败，未做任何修改: %1</translation>
    </message>
</context>
<context>
    <name>ZoneWipeDialog</name>
    <message>
        <source>区服删档 - %1</source>
        <translation>区服删档 - %1</translation>
    </message>
    <message>
        <source>选择要删档的区服</source>
        <translation>选择要删档的区服</translation>
    </message>
    <message>
        <source>区服数量: 0</source>
        <translation>区服数量: 0</translation>
    </message>
    <message>
        <source>全选</source>
        <translation>全选</translation>
    </message>
    <message>
        <source>取消全选</source>
        <translation>取消全选</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>账号库选项 (自动检测)</source>
        <translation>账号库选项 (自动检测)</translation>
    </message>
    <message>
        <source>勾选要同时删除账号数据的库（不勾选则不删除账号）:</source>
        <translation>勾选要同时删除账号数据的库（不勾选则不删除账号）:</translation>
    </message>
    <message>
        <source>⚠️ 删档前会写撤销文件：在没有角色占用被释放的ID之前，可在主窗口的“撤销记录”中撤销。</source>
        <translation>⚠️ 删档前会写撤销文件：在没有角色占用被释放的ID之前，可在主窗口的“撤销记录”中撤销。</translation>
    </message>
    <message>
        <source>开始删档</source>
        <translation>开始删档</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>错误：数据库未连接</source>
        <translation>错误：数据库未连接</translation>
    </message>
    <message>
        <source>正在加载区服列表...</source>
        <translation>正在加载区服列表...</translation>
    </message>
    <message>
        <source>未找到任何区服数据</source>
        <translation>未找到任何区服数据</translation>
    </message>
    <message>
        <source>WorldID: %1  (角色数量: %2)</source>
        <translation>WorldID: %1  (角色数量: %2)</translation>
    </message>
    <message>
        <source>区服数量: %1</source>
        <translation>区服数量: %1</translation>
    </message>
    <message>
        <source>加载完成，共 %1 个区服</source>
        <translation>加载完成，共 %1 个区服</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>提示</translation>
    </message>
    <message>
        <source>删档操作正在进行中，请等待完成</source>
        <translation>删档操作正在进行中，请等待完成</translation>
    </message>
    <message>
        <source>请至少选择一个区服进行删档</source>
        <translation>请至少选择一个区服进行删档</translation>
    </message>
    <message>
        <source>失败</source>
        <translation>失败</translation>
    </message>
    <message>
        <source>⚠️ 同时删除账号库: %1
要删除的账号: %2 个
保留的账号: %3 个（在未删档的区服还有角色）

</source>
        <translation>⚠️ 同时删除账号库: %1
要删除的账号: %2 个
保留的账号: %3 个（在未删档的区服还有角色）

</translation>
    </message>
    <message>
        <source>将删除的数据:</source>
        <translation>将删除的数据:</translation>
    </message>
    <message>
        <source>删除前先写撤销文件，可在“撤销记录”中撤销。各表行数见日志和详细信息。

确定要继续吗？</source>
        <translation>删除前先写撤销文件，可在“撤销记录”中撤销。各表行数见日志和详细信息。

确定要继续吗？</translation>
    </message>
    <message>
        <source>确认删档</source>
        <translation>确认删档</translation>
    </message>
    <message>
        <source>最终确认</source>
        <translation>最终确认</translation>
    </message>
    <message>
        <source>区服删档</source>
        <translation>区服删档</translation>
    </message>
    <message>
        <source>========== 开始删档操作 ==========</source>
        <translation>========== 开始删档操作 ==========</translation>
    </message>
    <message>
        <source>选中区服: %1</source>
        <translation>选中区服: %1</translation>
    </message>
    <message>
        <source>预计删除角色数: %1</source>
        <translation>预计删除角色数: %1</translation>
    </message>
    <message>
        <source>正在取消删档...</source>
        <translation>正在取消删档...</translation>
    </message>
    <message>
        <source>确认关闭</source>
        <translation>确认关闭</translation>
    </message>
    <message>
        <source>删档正在进行，关闭将取消删档并回滚。

确定要取消并关闭吗？</source>
        <translation>删档正在进行，关闭将取消删档并回滚。

确定要取消并关闭吗？</translation>
    </message>
    <message>
        <source>账号删除失败：%1 个角色已删除，账号未全部删除，详见日志</source>
        <translation>账号删除失败：%1 个角色已删除，账号未全部删除，详见日志</translation>
    </message>
    <message>
        <source>删档已取消，数据已回滚</source>
        <translation>删档已取消，数据已回滚</translation>
    </message>
    <message>
        <source>删档操作失败，数据已回滚</source>
        <translation>删档操作失败，数据已回滚</translation>
    </message>
    <message>
        <source>========== 删档操作完成 ==========</source>
        <translation>========== 删档操作完成 ==========</translation>
    </message>
    <message>
        <source>

撤销文件: %1</source>
        <translation>

撤销文件: %1</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>%1

撤销文件: %2</source>
        <translation>%1

撤销文件: %2</translation>
    </message>
    <message>
        <source>即将在 %1 上删除以下区服的所有数据：

区服ID: %2
角色总数: %3

</source>
        <translation>即将在 %1 上删除以下区服的所有数据：

区服ID: %2
角色总数: %3

</translation>
    </message>
    <message>
        <source>这是最终确认！

确定要在 %1 上执行删档操作吗？</source>
        <translation>这是最终确认！

确定要在 %1 上执行删档操作吗？</translation>
    </message>
    <message numerus="yes">
        <source>删档完成！

共删除 %Ln 个角色数据</source>
        <translation>
            <numerusform>删档完成！

共删除 %Ln 个角色数据</numerusform>
        </translation>
    </message>
</context>
</TS>
