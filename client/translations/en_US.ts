<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
    <context>
        <name>FilesNotReadDialog</name>
        <message>
            <source>未能完整读取的文件</source>
            <translation>Files not read in full</translation>
        </message>
        <message>
            <source>关闭</source>
            <translation>Close</translation>
        </message>
    </context>
    <context>
        <name>FilesNotReadLink</name>
        <message>
            <source>%1 个文件未能完整读取。</source>
            <translation>%1 files could not be read in full. </translation>
        </message>
        <message>
            <source>查看</source>
            <translation>View</translation>
        </message>
    </context>
    <context>
        <name>FilesNotReadModel</name>
        <message>
            <source>文件</source>
            <translation>File</translation>
        </message>
        <message>
            <source>原因</source>
            <translation>Reason</translation>
        </message>
        <message>
            <source>详细原因</source>
            <translation>Details</translation>
        </message>
        <message>
            <source>无法读取</source>
            <translation>Unreadable</translation>
        </message>
        <message>
            <source>文件损坏或与类型不符</source>
            <translation>Damaged or not of its type</translation>
        </message>
        <message>
            <source>超过大小限制</source>
            <translation>Above the size limit</translation>
        </message>
        <message>
            <source>超过容器限制</source>
            <translation>Container limit exceeded</translation>
        </message>
        <message>
            <source>受密码保护</source>
            <translation>Protected by a password</translation>
        </message>
        <message>
            <source>读取程序出错</source>
            <translation>Reader failed</translation>
        </message>
        <message>
            <source>不读取此文件类型</source>
            <translation>File type not read</translation>
        </message>
        <message>
            <source>达到时间限制，仅扫描了部分内容</source>
            <translation>Time limit reached, scanned in part</translation>
        </message>
        <message>
            <source>达到文本限制，仅扫描了部分内容</source>
            <translation>Text limit reached, scanned in part</translation>
        </message>
        <message>
            <source>未跟随符号链接</source>
            <translation>Symbolic link not followed</translation>
        </message>
        <message>
            <source>打开的文件过多</source>
            <translation>Too many open files</translation>
        </message>
    </context>
    <context>
        <name>HitFileMenu</name>
        <message>
            <source>在文件夹中显示</source>
            <translation>Show in folder</translation>
        </message>
        <message>
            <source>复制路径</source>
            <translation>Copy path</translation>
        </message>
    </context>
    <context>
        <name>KeywordConfigAllinoneWidget</name>
        <message>
            <source>敏感词配置</source>
            <translation>Keyword configuration</translation>
        </message>
        <message>
            <source>输入敏感词进行敏感信息扫描，可配置多个敏感词</source>
            <translation>Type the keywords to scan for; several can be added</translation>
        </message>
        <message>
            <source>请输入敏感词</source>
            <translation>Enter a keyword</translation>
        </message>
        <message>
            <source>添加</source>
            <translation>Add</translation>
        </message>
        <message>
            <source>取消</source>
            <translation>Cancel</translation>
        </message>
        <message>
            <source>确认</source>
            <translation>Confirm</translation>
        </message>
        <message>
            <source>敏感词自查清单配置</source>
            <translation>Keyword checklists</translation>
        </message>
        <message>
            <source>勾选敏感词自查清单进行敏感信息扫描，可配置多个敏感词自查清单</source>
            <translation>Tick keyword checklists to scan for sensitive information; several checklists can be ticked</translation>
        </message>
        <message>
            <source>日期</source>
            <translation>Date</translation>
        </message>
        <message>
            <source>名称</source>
            <translation>Name</translation>
        </message>
        <message>
            <source>无法读取敏感词自查清单数据库：%1</source>
            <translation>Cannot read the keyword checklist database: %1</translation>
        </message>
    </context>
    <context>
        <name>KeywordSensitiveDetailExWidget</name>
        <message>
            <source>敏感信息详情</source>
            <translation>Sensitive information details</translation>
        </message>
        <message>
            <source>文件路径</source>
            <translation>File path</translation>
        </message>
        <message>
            <source>敏感词次数：</source>
            <translation>Sensitive word count:</translation>
        </message>
        <message>
            <source>0</source>
            <translation>0</translation>
        </message>
        <message>
            <source>取消</source>
            <translation>Cancel</translation>
        </message>
        <message>
            <source>确认</source>
            <translation>Confirm</translation>
        </message>
        <message>
            <source>（显示前 %1 条）</source>
            <translation> (showing the first %1)</translation>
        </message>
    </context>
    <context>
        <name>KeywordSensitiveDetailFrame</name>
        <message>
            <source>高亮后的敏感信息</source>
            <translation>Highlighted sensitive information</translation>
        </message>
    </context>
    <context>
        <name>KeywordSensitiveFrame</name>
        <message>
            <source>文件路径</source>
            <translation>File path</translation>
        </message>
        <message>
            <source>敏感词次数：</source>
            <translation>Sensitive word count:</translation>
        </message>
        <message>
            <source>0</source>
            <translation>0</translation>
        </message>
        <message>
            <source>查看详情</source>
            <translation>See details</translation>
        </message>
        <message>
            <source>：</source>
            <translation>:</translation>
        </message>
        <message>
            <source>次</source>
            <translation>times</translation>
        </message>
        <message numerus="yes">
            <source>…以及另外 %n 个关键词</source>
            <translation>
                <numerusform>… and %n more keyword</numerusform>
                <numerusform>… and %n more keywords</numerusform>
            </translation>
        </message>
    </context>
    <context>
        <name>MainWindow</name>
        <message>
            <source>普通用户没有使用此应用的权限。</source>
            <translation>Ordinary users do not have permission to use this application.</translation>
        </message>
        <message>
            <source>确认</source>
            <translation>Confirm</translation>
        </message>
        <message>
            <source>敏感信息扫描</source>
            <translation>Sensitive information scanning</translation>
        </message>
        <message>
            <source>智能守护，字字安心</source>
            <translation>Intelligent protection, word-perfect security</translation>
        </message>
        <message>
            <source>智能识别敏感字段，筑起内容安全防线</source>
            <translation>Intelligent detection of sensitive data fields, strengthening your content security perimeter</translation>
        </message>
        <message>
            <source>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;请先进行敏感词配置，若已配置则忽略该提示！&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</source>
            <translation>&lt;html&gt;&lt;head/&gt;&lt;body&gt;&lt;p&gt;Please configure sensitive keywords first. Ignore this hint if they are already configured.&lt;/p&gt;&lt;/body&gt;&lt;/html&gt;</translation>
        </message>
        <message>
            <source>闲时扫描</source>
            <translation>Scan during idle time</translation>
        </message>
        <message>
            <source>敏感词配置</source>
            <translation>Sensitive keywords setting</translation>
        </message>
        <message>
            <source>文件类型配置</source>
            <translation>File type setting</translation>
        </message>
        <message>
            <source>正在扫描中...</source>
            <translation>Scanning...</translation>
        </message>
        <message>
            <source>已用时间：</source>
            <translation>Time used:</translation>
        </message>
        <message>
            <source>00:00:00</source>
            <translation>00:00:00</translation>
        </message>
        <message>
            <source>正在扫描：</source>
            <translation>Scanning:</translation>
        </message>
        <message>
            <source>暂停</source>
            <translation>Pause</translation>
        </message>
        <message>
            <source>取消</source>
            <translation>Cancel</translation>
        </message>
        <message>
            <source>建议您重新进行完整扫描，防止敏感信息遗漏</source>
            <translation>Recommend performing a full rescan to prevent omission of sensitive information</translation>
        </message>
        <message>
            <source>返回</source>
            <translation>Return</translation>
        </message>
        <message>
            <source>重新扫描</source>
            <translation>Rescan</translation>
        </message>
        <message>
            <source>扫描已完成</source>
            <translation>Scan completed</translation>
        </message>
        <message>
            <source>未发现敏感信息</source>
            <translation>No sensitive information found</translation>
        </message>
        <message>
            <source>暂无敏感信息</source>
            <translation>No sensitive information found</translation>
        </message>
        <message>
            <source>敏感信息，雷达扫描</source>
            <translation>Radar-scan for sensitive information</translation>
        </message>
        <message>
            <source>精准狙击敏感信息，数据泄露防护利器</source>
            <translation>Accurate detection of sensitive information, powerful solution for data leakage prevention</translation>
        </message>
        <message>
            <source>精准识别10+类敏感信息</source>
            <translation>Accurate detection of 10+ categories of sensitive information</translation>
        </message>
        <message>
            <source>支持内置规则，匹配企业保密协议关键词</source>
            <translation>Supports built-in rules for matching corporate confidentiality agreement keywords</translation>
        </message>
        <message>
            <source>毫秒级扫描性能，百万文件快速处理</source>
            <translation>Millisecond-level scanning performance with rapid processing of millions of files</translation>
        </message>
        <message>
            <source>建议您重新进行完整扫描，防止隐私信息遗漏</source>
            <translation>Recommend performing a full rescan to prevent omission of privacy information</translation>
        </message>
        <message>
            <source>未发现隐私信息</source>
            <translation>No privacy information found</translation>
        </message>
        <message>
            <source>敏感词扫描</source>
            <translation>Keyword scan</translation>
        </message>
        <message>
            <source>隐私信息扫描</source>
            <translation>Privacy scan</translation>
        </message>
        <message>
            <source>查询敏感词扫描任务详情失败，请检查！</source>
            <translation>Failed to query the sensitive keyword scan task details. Please check!</translation>
        </message>
        <message>
            <source>敏感词扫描尚未完成，确定退出吗？</source>
            <translation>The sensitive data scan is incomplete. Confirm exit?</translation>
        </message>
        <message>
            <source>查询隐私信息扫描任务详情失败，请检查！</source>
            <translation>Failed to query the privacy information scan task details. Please check!</translation>
        </message>
        <message>
            <source>隐私信息扫描尚未完成，确定退出吗？</source>
            <translation>The privacy information scan in progress. Confirm exit?</translation>
        </message>
        <message>
            <source>中止扫描失败，请检查！</source>
            <translation>Failed to stop the scan. Please check!</translation>
        </message>
        <message>
            <source>文档解析支持：
txt、pdf、doc(x)、xls(x)、ppt(x)、
wps、et、dps以及常见的压缩包格式等</source>
            <translation>Supports parsing documents in:
TXT, PDF,
Microsoft Office (DOC(X)/XLS(X)/PPT(X)),
WPS formats (WPS/ET/DPS),
and common archive files (ZIP/RAR/7Z, etc.)</translation>
        </message>
        <message>
            <source>选项</source>
            <translation>Option</translation>
        </message>
        <message>
            <source>关于</source>
            <translation>About</translation>
        </message>
        <message>
            <source>意见反馈</source>
            <translation>Feedback</translation>
        </message>
        <message>
            <source>退出</source>
            <translation>Quit</translation>
        </message>
        <message>
            <source>最小化</source>
            <translation>Minimize</translation>
        </message>
        <message>
            <source>最大化</source>
            <translation>Maximize</translation>
        </message>
        <message>
            <source>关闭</source>
            <translation>Close</translation>
        </message>
        <message>
            <source>版本: </source>
            <translation>Version: </translation>
        </message>
        <message>
            <source>还原</source>
            <translation>Revert</translation>
        </message>
        <message>
            <source>请设置一个或者多个敏感词！</source>
            <translation>Please set one or more sensitive keywords!</translation>
        </message>
        <message>
            <source>敏感词扫描任务创建失败：任务创建接口调用失败，请检查！</source>
            <translation>Failed to create the sensitive keyword scan task: the task creation call failed. Please check!</translation>
        </message>
        <message>
            <source>暂停扫描失败，请检查！</source>
            <translation>Failed to pause the scan. Please check!</translation>
        </message>
        <message>
            <source>继续</source>
            <translation>Continue</translation>
        </message>
        <message>
            <source>继续扫描失败，请检查！</source>
            <translation>Failed to resume the scan. Please check!</translation>
        </message>
        <message>
            <source>敏感词扫描正在进行中，确定取消吗？</source>
            <translation>Sensitive keyword scan is running. Confirm abort?</translation>
        </message>
        <message>
            <source>扫描已取消，未发现敏感信息</source>
            <translation>Scan cancelled, no sensitive information found</translation>
        </message>
        <message>
            <source>扫描已取消，发现 &lt;font color='#3676F5'&gt;</source>
            <translation>Scan cancelled, found &lt;font color='#3676F5'&gt;</translation>
        </message>
        <message>
            <source>&lt;/font&gt; 条敏感信息</source>
            <translation>&lt;/font&gt; sensitive items</translation>
        </message>
        <message>
            <source>共发现敏感信息 &lt;font color='#3676F5'&gt;</source>
            <translation>Total sensitive information detected: &lt;font color='#3676F5'&gt;</translation>
        </message>
        <message>
            <source>&lt;/font&gt; 条，请查看详情</source>
            <translation>&lt;/font&gt; records, click for details</translation>
        </message>
        <message>
            <source>隐私信息扫描任务创建失败：任务创建接口调用失败，请检查！</source>
            <translation>Failed to create the privacy information scan task: the task creation call failed. Please check!</translation>
        </message>
        <message>
            <source>隐私信息扫描正在进行中，确定取消吗？</source>
            <translation>Privacy information scan is running. Confirm abort?</translation>
        </message>
        <message>
            <source>扫描已取消，未发现隐私信息</source>
            <translation>Scan cancelled, no privacy information found</translation>
        </message>
        <message>
            <source>共发现隐私信息 &lt;font color='#3676F5'&gt;</source>
            <translation>Total privacy information detected: &lt;font color='#3676F5'&gt;</translation>
        </message>
        <message>
            <source>文件类型检测规则</source>
            <translation>File type detection rule</translation>
        </message>
        <message>
            <source>可配置一个或者多个文件类型。支持检测的文件类型列表：txt、html、json、xml、ppt、pptx、doc、docx、xls、xlsx、pdf</source>
            <translation>Configurable for one or multiple file types. Supported file types for detection: txt, html, json, xml, ppt, pptx, doc, docx, xls, xlsx, pdf</translation>
        </message>
        <message>
            <source>关键字检测规则</source>
            <translation>Keyword detection rule</translation>
        </message>
        <message>
            <source>可配置一个或者多个关键字</source>
            <translation>Configurable with one or multiple keywords</translation>
        </message>
        <message>
            <source>事件写入数据库</source>
            <translation>Write incident to database</translation>
        </message>
        <message>
            <source>指定一个响应动作，用于触发策略后执行</source>
            <translation>Specify a response action to execute when the policy is triggered</translation>
        </message>
        <message>
            <source>敏感信息扫描策略</source>
            <translation>Sensitive information scanning policy</translation>
        </message>
        <message>
            <source>用于对指定路径下的目标类型文件进行敏感信息检查</source>
            <translation>Scans specified file types in selected paths for sensitive information</translation>
        </message>
        <message>
            <source>用户家目录扫描</source>
            <translation>Home directory scan</translation>
        </message>
        <message>
            <source>自定义扫描</source>
            <translation>Custom scan</translation>
        </message>
        <message>
            <source>请选择扫描目录！</source>
            <translation>Please specify directory for scanning!</translation>
        </message>
        <message>
            <source>开启后仅在系统资源闲时进行扫描，不影响正常办公</source>
            <translation>Scanning will only occur during system idle time when enabled, ensuring no impact on normal work operations</translation>
        </message>
        <message>
            <source>遵循《个人信息保护法》要求</source>
            <translation>Complies with the requirements of the Personal Information Protection Law (PIPL)</translation>
        </message>
        <message>
            <source>隐私信息</source>
            <translation>Privacy information</translation>
        </message>
        <message>
            <source>疑似隐私信息</source>
            <translation>Suspected privacy information</translation>
        </message>
        <message>
            <source>扫描已暂停</source>
            <translation>Scan paused</translation>
        </message>
        <message>
            <source>已扫描 %1 个文件</source>
            <translation>%1 files scanned</translation>
        </message>
        <message>
            <source>%1 / %2 个文件（%3%）</source>
            <translation>%1 / %2 files (%3%)</translation>
        </message>
        <message>
            <source>，剩余约 %1</source>
            <translation>, %1 left</translation>
        </message>
        <message>
            <source>，共扫描 %1 个文件</source>
            <translation>, %1 files</translation>
        </message>
        <message>
            <source>，已扫描 %1 个文件</source>
            <translation>, %1 files</translation>
        </message>
        <message>
            <source>，已扫描 %1 / %2 个文件</source>
            <translation>, %1 / %2 files</translation>
        </message>
        <message>
            <source>尚未配置敏感词，请先进行敏感词配置</source>
            <translation>No keywords yet: configure keywords first</translation>
        </message>
        <message>
            <source>下次扫描将使用输入的 %1 个敏感词</source>
            <translation>The next scan uses %1 typed keywords</translation>
        </message>
        <message>
            <source>、</source>
            <translation>, </translation>
        </message>
        <message>
            <source>%1 等 %2 个清单</source>
            <translation>%1 and more (%2 checklists)</translation>
        </message>
        <message>
            <source>下次扫描将使用自查清单：%1</source>
            <translation>The next scan uses the checklists: %1</translation>
        </message>
        <message>
            <source>导出</source>
            <translation>Export</translation>
        </message>
        <message>
            <source>敏感词扫描结果</source>
            <translation>keyword-scan</translation>
        </message>
        <message>
            <source>隐私信息扫描结果</source>
            <translation>privacy-scan</translation>
        </message>
        <message>
            <source>扫描记录</source>
            <translation>Scan history</translation>
        </message>
        <message>
            <source>敏感词扫描已完成</source>
            <translation>Keyword scan completed</translation>
        </message>
        <message>
            <source>共扫描 %1 个文件，发现敏感信息 %2 条</source>
            <translation>%1 files scanned, %2 sensitive items found</translation>
        </message>
        <message>
            <source>共扫描 %1 个文件，未发现敏感信息</source>
            <translation>%1 files scanned, no sensitive information found</translation>
        </message>
        <message>
            <source>隐私信息扫描已完成</source>
            <translation>Privacy scan completed</translation>
        </message>
        <message>
            <source>共扫描 %1 个文件，发现隐私信息 %2 条</source>
            <translation>%1 files scanned, %2 private items found</translation>
        </message>
        <message>
            <source>共扫描 %1 个文件，未发现隐私信息</source>
            <translation>%1 files scanned, no private information found</translation>
        </message>
    </context>
    <context>
        <name>PiiCategoryNames</name>
        <message>
            <source>身份标识</source>
            <translation>Identity</translation>
        </message>
        <message>
            <source>宗教信仰</source>
            <translation>Religion</translation>
        </message>
        <message>
            <source>医疗健康</source>
            <translation>Health</translation>
        </message>
        <message>
            <source>账户信息</source>
            <translation>Accounts</translation>
        </message>
        <message>
            <source>行踪轨迹</source>
            <translation>Whereabouts</translation>
        </message>
        <message>
            <source>未成年人信息</source>
            <translation>Minors</translation>
        </message>
        <message>
            <source>法规隐私</source>
            <translation>Legal</translation>
        </message>
        <message>
            <source>地理位置</source>
            <translation>Location</translation>
        </message>
        <message>
            <source>社会关系</source>
            <translation>Relations</translation>
        </message>
        <message>
            <source>设备信息</source>
            <translation>Devices</translation>
        </message>
        <message>
            <source>健康生理</source>
            <translation>Physiology</translation>
        </message>
        <message>
            <source>职业教育</source>
            <translation>Education</translation>
        </message>
        <message>
            <source>特殊群体</source>
            <translation>Special needs</translation>
        </message>
        <message>
            <source>金融消费</source>
            <translation>Finance</translation>
        </message>
        <message>
            <source>居民身份证号</source>
            <translation>Resident ID card number</translation>
        </message>
        <message>
            <source>手机号码</source>
            <translation>Mobile phone number</translation>
        </message>
        <message>
            <source>固定电话号码</source>
            <translation>Landline number</translation>
        </message>
        <message>
            <source>电子邮箱地址</source>
            <translation>Email address</translation>
        </message>
        <message>
            <source>护照号码</source>
            <translation>Passport number</translation>
        </message>
        <message>
            <source>港澳通行证号码</source>
            <translation>Hong Kong/Macau travel permit number</translation>
        </message>
        <message>
            <source>台湾通行证号码</source>
            <translation>Taiwan travel permit number</translation>
        </message>
        <message>
            <source>统一社会信用代码</source>
            <translation>Unified social credit code</translation>
        </message>
        <message>
            <source>宗教身份</source>
            <translation>Religious identity</translation>
        </message>
        <message>
            <source>宗教活动</source>
            <translation>Religious activity</translation>
        </message>
        <message>
            <source>疾病诊断</source>
            <translation>Diagnosis</translation>
        </message>
        <message>
            <source>用药信息</source>
            <translation>Medication</translation>
        </message>
        <message>
            <source>检验检查报告</source>
            <translation>Test and examination report</translation>
        </message>
        <message>
            <source>病历号</source>
            <translation>Medical record number</translation>
        </message>
        <message>
            <source>银行卡号</source>
            <translation>Bank card number</translation>
        </message>
        <message>
            <source>账号密码</source>
            <translation>Account and password</translation>
        </message>
        <message>
            <source>社交账号</source>
            <translation>Social media account</translation>
        </message>
        <message>
            <source>航班出行记录</source>
            <translation>Flight record</translation>
        </message>
        <message>
            <source>火车出行记录</source>
            <translation>Train travel record</translation>
        </message>
        <message>
            <source>住宿记录</source>
            <translation>Accommodation record</translation>
        </message>
        <message>
            <source>打卡签到记录</source>
            <translation>Check-in record</translation>
        </message>
        <message>
            <source>未满十四周岁者身份证号</source>
            <translation>ID card number of a child under 14</translation>
        </message>
        <message>
            <source>儿童年龄</source>
            <translation>Child's age</translation>
        </message>
        <message>
            <source>在读学段</source>
            <translation>School level</translation>
        </message>
        <message>
            <source>犯罪记录</source>
            <translation>Criminal record</translation>
        </message>
        <message>
            <source>生物识别信息</source>
            <translation>Biometric data</translation>
        </message>
        <message>
            <source>性取向</source>
            <translation>Sexual orientation</translation>
        </message>
        <message>
            <source>经纬度坐标</source>
            <translation>Latitude and longitude</translation>
        </message>
        <message>
            <source>详细地址</source>
            <translation>Street address</translation>
        </message>
        <message>
            <source>家庭成员</source>
            <translation>Family member</translation>
        </message>
        <message>
            <source>紧急联系人</source>
            <translation>Emergency contact</translation>
        </message>
        <message>
            <source>亲属关系</source>
            <translation>Kinship</translation>
        </message>
        <message>
            <source>设备识别码IMEI</source>
            <translation>Device identifier (IMEI)</translation>
        </message>
        <message>
            <source>MAC地址</source>
            <translation>MAC address</translation>
        </message>
        <message>
            <source>IP地址</source>
            <translation>IP address</translation>
        </message>
        <message>
            <source>设备序列号</source>
            <translation>Device serial number</translation>
        </message>
        <message>
            <source>身高体重</source>
            <translation>Height and weight</translation>
        </message>
        <message>
            <source>血压心率</source>
            <translation>Blood pressure and heart rate</translation>
        </message>
        <message>
            <source>血型</source>
            <translation>Blood type</translation>
        </message>
        <message>
            <source>生理状况</source>
            <translation>Physical condition</translation>
        </message>
        <message>
            <source>学历学位</source>
            <translation>Education and degree</translation>
        </message>
        <message>
            <source>职业职务</source>
            <translation>Occupation and position</translation>
        </message>
        <message>
            <source>毕业院校</source>
            <translation>School graduated from</translation>
        </message>
        <message>
            <source>学号工号</source>
            <translation>Student or employee number</translation>
        </message>
        <message>
            <source>残疾人证号</source>
            <translation>Disability certificate number</translation>
        </message>
        <message>
            <source>特殊群体身份</source>
            <translation>Special group membership</translation>
        </message>
        <message>
            <source>收入薪资</source>
            <translation>Income and salary</translation>
        </message>
        <message>
            <source>存款资产</source>
            <translation>Savings and assets</translation>
        </message>
        <message>
            <source>信贷征信</source>
            <translation>Credit record</translation>
        </message>
        <message>
            <source>交易消费记录</source>
            <translation>Transaction record</translation>
        </message>
        <message>
            <source>姓名</source>
            <translation>Name</translation>
        </message>
        <message>
            <source>车牌号码</source>
            <translation>Vehicle plate</translation>
        </message>
        <message>
            <source>婚姻状况</source>
            <translation>Marital status</translation>
        </message>
        <message>
            <source>工作岗位</source>
            <translation>Job position</translation>
        </message>
    </context>
    <context>
        <name>PiiSensitiveDetailExWidget</name>
        <message>
            <source>隐私信息详情</source>
            <translation>Privacy information details</translation>
        </message>
        <message>
            <source>共</source>
            <translation>Total</translation>
        </message>
        <message>
            <source>0</source>
            <translation>0</translation>
        </message>
        <message>
            <source>条隐私信息</source>
            <translation>piece of privacy information</translation>
        </message>
        <message>
            <source>取消</source>
            <translation>Cancel</translation>
        </message>
        <message>
            <source>确认</source>
            <translation>Confirm</translation>
        </message>
        <message>
            <source>隐私信息详情 - </source>
            <translation>Privacy information details - </translation>
        </message>
        <message>
            <source>正在读取详情…</source>
            <translation>Reading the details…</translation>
        </message>
    </context>
    <context>
        <name>PiiSensitiveDetailFrame</name>
        <message>
            <source>高亮后的隐私信息</source>
            <translation>Highlighted privacy information</translation>
        </message>
        <message>
            <source>规则名称</source>
            <translation>Rule name</translation>
        </message>
    </context>
    <context>
        <name>PiiSensitiveFrame</name>
        <message>
            <source>文件路径</source>
            <translation>File path</translation>
        </message>
        <message>
            <source>在文件夹中显示</source>
            <translation>Show in folder</translation>
        </message>
        <message>
            <source>隐私信息次数：</source>
            <translation>Count of privacy information occurrences:</translation>
        </message>
        <message>
            <source>0</source>
            <translation>0</translation>
        </message>
    </context>
    <context>
        <name>RunExporter</name>
        <message>
            <source>导出扫描结果</source>
            <translation>Export Scan Results</translation>
        </message>
        <message>
            <source>CSV 表格 (*.csv)</source>
            <translation>CSV spreadsheet (*.csv)</translation>
        </message>
        <message>
            <source>JSON Lines (*.jsonl)</source>
            <translation>JSON Lines (*.jsonl)</translation>
        </message>
        <message>
            <source>HTML 报告 (*.html)</source>
            <translation>HTML report (*.html)</translation>
        </message>
        <message>
            <source>导出完整数值（不打码）</source>
            <translation>Export full values (unmasked)</translation>
        </message>
        <message>
            <source>导出完整数值</source>
            <translation>Export Full Values</translation>
        </message>
        <message>
            <source>导出的文件将包含未打码的敏感信息原文，任何能读取该文件的人都能看到。确定导出完整数值吗？</source>
            <translation>The file will hold the sensitive values unmasked, for anyone who can read it. Export the full values?</translation>
        </message>
        <message>
            <source>导出</source>
            <translation>Export</translation>
        </message>
        <message>
            <source>取消</source>
            <translation>Cancel</translation>
        </message>
        <message>
            <source>%1 已存在，要替换它吗？</source>
            <translation>%1 already exists. Replace it?</translation>
        </message>
        <message>
            <source>替换</source>
            <translation>Replace</translation>
        </message>
        <message>
            <source>无法打开所选文件：%1</source>
            <translation>The chosen file cannot be opened: %1</translation>
        </message>
        <message>
            <source>扫描结果已导出到：
%1</source>
            <translation>The scan results were exported to:
%1</translation>
        </message>
        <message>
            <source>打开所在文件夹</source>
            <translation>Open Folder</translation>
        </message>
        <message>
            <source>确认</source>
            <translation>OK</translation>
        </message>
        <message>
            <source>导出失败：%1</source>
            <translation>Export failed: %1</translation>
        </message>
    </context>
    <context>
        <name>RunHistoryModel</name>
        <message>
            <source>敏感词扫描</source>
            <translation>Keyword scan</translation>
        </message>
        <message>
            <source>隐私信息扫描</source>
            <translation>Privacy scan</translation>
        </message>
        <message>
            <source>已完成</source>
            <translation>Completed</translation>
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
            <source>进行中</source>
            <translation>Running</translation>
        </message>
        <message>
            <source>开始时间</source>
            <translation>Started</translation>
        </message>
        <message>
            <source>类型</source>
            <translation>Type</translation>
        </message>
        <message>
            <source>扫描目标</source>
            <translation>Target</translation>
        </message>
        <message>
            <source>结果</source>
            <translation>Outcome</translation>
        </message>
        <message>
            <source>文件</source>
            <translation>Files</translation>
        </message>
        <message>
            <source>命中文件</source>
            <translation>With hits</translation>
        </message>
        <message>
            <source>未读文件</source>
            <translation>Not read</translation>
        </message>
        <message>
            <source>敏感词</source>
            <translation>Keyword</translation>
        </message>
        <message>
            <source>隐私信息</source>
            <translation>Privacy</translation>
        </message>
    </context>
    <context>
        <name>RunHistoryPage</name>
        <message>
            <source>扫描记录</source>
            <translation>Scan history</translation>
        </message>
        <message>
            <source>导出</source>
            <translation>Export</translation>
        </message>
        <message>
            <source>删除</source>
            <translation>Delete</translation>
        </message>
        <message>
            <source>刷新</source>
            <translation>Refresh</translation>
        </message>
        <message>
            <source>暂无扫描记录</source>
            <translation>No scans yet</translation>
        </message>
        <message>
            <source>扫描服务未运行，无法读取扫描记录</source>
            <translation>The scan service is not running; the scan history cannot be read</translation>
        </message>
        <message>
            <source>无法读取扫描记录：%1</source>
            <translation>The scan history cannot be read: %1</translation>
        </message>
        <message>
            <source>正在读取……</source>
            <translation>Reading…</translation>
        </message>
        <message>
            <source>无法读取这次扫描的摘要：%1</source>
            <translation>The summary of this scan cannot be read: %1</translation>
        </message>
        <message>
            <source>%1，%2（%3 至 %4）</source>
            <translation>%1, %2 (%3 to %4)</translation>
        </message>
        <message>
            <source>失败原因：%1</source>
            <translation>Reason: %1</translation>
        </message>
        <message>
            <source>扫描目标：%1</source>
            <translation>Target: %1</translation>
        </message>
        <message>
            <source>文件：选中 %1，已扫描 %2，已读取 %3，命中 %4，未读 %5</source>
            <translation>Files: %1 selected, %2 scanned, %3 read, %4 with hits, %5 not read</translation>
        </message>
        <message>
            <source>未发现敏感信息</source>
            <translation>No sensitive information found</translation>
        </message>
        <message>
            <source>%1：%2</source>
            <translation>%1: %2</translation>
        </message>
        <message>
            <source>命中：</source>
            <translation>Hits: </translation>
        </message>
        <message>
            <source>，</source>
            <translation>, </translation>
        </message>
        <message>
            <source>，另有 %1 项</source>
            <translation>, and %1 more</translation>
        </message>
        <message>
            <source>删除扫描记录</source>
            <translation>Delete scan record</translation>
        </message>
        <message>
            <source>删除这次扫描的记录及其发现的全部敏感信息？删除后无法恢复。</source>
            <translation>Delete the record of this scan with all the sensitive information it found? This cannot be undone.</translation>
        </message>
        <message>
            <source>确认</source>
            <translation>Confirm</translation>
        </message>
        <message>
            <source>取消</source>
            <translation>Cancel</translation>
        </message>
        <message>
            <source>删除扫描记录失败：%1</source>
            <translation>The scan record could not be deleted: %1</translation>
        </message>
    </context>
    <context>
        <name>RunReports</name>
        <message>
            <source>扫描记录中没有这次扫描</source>
            <translation>This scan is not in the scan history</translation>
        </message>
        <message>
            <source>扫描尚未结束</source>
            <translation>The scan has not ended yet</translation>
        </message>
        <message>
            <source>不支持的导出格式</source>
            <translation>Unsupported export format</translation>
        </message>
        <message>
            <source>无法写入所选文件</source>
            <translation>The chosen file cannot be written</translation>
        </message>
        <message>
            <source>扫描服务出错（代码 %1）</source>
            <translation>The scan service failed (code %1)</translation>
        </message>
        <message>
            <source>扫描服务的回复无法识别</source>
            <translation>The scan service's reply could not be understood</translation>
        </message>
    </context>
    <context>
        <name>mvk::AboutDialog</name>
        <message>
            <source>关于</source>
            <translation>About</translation>
        </message>
        <message>
            <source>关于 %1</source>
            <translation>About %1</translation>
        </message>
    </context>
</TS>
