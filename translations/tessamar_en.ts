<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_TW">
<context>
    <name>AreaNameDialog</name>
    <message>
        <source>區域名稱</source>
        <translation>Area name</translation>
    </message>
    <message>
        <source>名稱(&amp;N)：</source>
        <translation>&amp;Name:</translation>
    </message>
</context>
<context>
    <name>BleTransport</name>
    <message>
        <source>這個設備沒有測距儀的服務</source>
        <translation>This device has no range finder service</translation>
    </message>
    <message>
        <source>測距儀中斷了連線</source>
        <translation>The range finder dropped the connection</translation>
    </message>
</context>
<context>
    <name>Bluetooth</name>
    <message>
        <source>找不到藍牙適配器</source>
        <translation>No Bluetooth adapter was found</translation>
    </message>
    <message>
        <source>藍牙已關閉，請先開啟藍牙</source>
        <translation>Bluetooth is off; please switch it on first</translation>
    </message>
    <message>
        <source>沒有使用藍牙的權限</source>
        <translation>No permission to use Bluetooth</translation>
    </message>
</context>
<context>
    <name>CAboutDlg</name>
    <message>
        <source>關于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>KZR 1.0 版</source>
        <translation>KZR version 1.0</translation>
    </message>
    <message>
        <source>Tessamar 房間照片測量工具
版權所有 (C) Tessamar</source>
        <translation>Tessamar room photo measuring tool
Copyright (C) Tessamar</translation>
    </message>
    <message>
        <source>本程式按現狀提供，不附帶任何擔保。量得的尺寸僅供參考。</source>
        <translation>This program is provided as is, without any warranty. Measured sizes are for reference only.</translation>
    </message>
    <message>
        <source>確定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CMeasureDlg</name>
    <message>
        <source>Tessamar 技術支援

電郵：
support@tessamar.example
網站：
www.tessamar.example

如有問題，請來信告知。</source>
        <translation>Tessamar support

E-mail:
support@tessamar.example
Web:
www.tessamar.example

Questions? Please write to us.</translation>
    </message>
    <message>
        <source>打開圖片(&amp;O)</source>
        <translation>&amp;Open photo</translation>
    </message>
    <message>
        <source>保存信息(&amp;S)</source>
        <translation>&amp;Save info</translation>
    </message>
    <message>
        <source>輸出圖片(&amp;E)</source>
        <translation>&amp;Export picture</translation>
    </message>
    <message>
        <source>連接測距儀(&amp;C)</source>
        <translation>&amp;Connect meter</translation>
    </message>
    <message>
        <source>幫助(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>退出(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>拖動</source>
        <translation>Drag</translation>
    </message>
    <message>
        <source>畫尺寸</source>
        <translation>Draw dimension</translation>
    </message>
    <message>
        <source>信息標注</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>選擇</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>顏色：</source>
        <translation>Colour:</translation>
    </message>
    <message>
        <source>尺寸：</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>標題：</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>新增</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>刪除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>修改</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>縮放</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>放大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>縮小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>自適應大小</source>
        <translation>Fit to window</translation>
    </message>
    <message>
        <source>實際大小</source>
        <translation>Actual size</translation>
    </message>
    <message>
        <source>字體:</source>
        <translation>Font:</translation>
    </message>
    <message>
        <source>關于 KZR(&amp;A)...</source>
        <translation>&amp;About KZR...</translation>
    </message>
    <message>
        <source>信息標注的標題不能為空</source>
        <translation>A note needs a title</translation>
    </message>
    <message>
        <source>找不到文件：</source>
        <translation>File not found: </translation>
    </message>
    <message>
        <source>無法打開圖片：</source>
        <translation>Cannot open the picture: </translation>
    </message>
    <message>
        <source>照片信息文件已損壞，已改名保存為：</source>
        <translation>The photo-info file is damaged; it was kept under the name: </translation>
    </message>
    <message>
        <source>照片信息文件已損壞，無法改名保存：</source>
        <translation>The photo-info file is damaged and could not be renamed: </translation>
    </message>
    <message>
        <source>
保存信息前會先詢問是否覆蓋它。</source>
        <translation>
You will be asked before saving overwrites it.</translation>
    </message>
    <message>
        <source>照片信息文件無法讀取：</source>
        <translation>The photo-info file cannot be read: </translation>
    </message>
    <message>
        <source>參考長度或參考平面無法讀取，尺寸和信息已載入。</source>
        <translation>The reference length or plane could not be read; the dimensions and notes were loaded.</translation>
    </message>
    <message>
        <source>
原文件已改名保存為：</source>
        <translation>
The original file was kept under the name: </translation>
    </message>
    <message>
        <source>照片信息保存完畢</source>
        <translation>The photo info was saved</translation>
    </message>
    <message>
        <source>
保存會覆蓋它，是否繼續？</source>
        <translation>
Saving will overwrite it. Continue?</translation>
    </message>
    <message>
        <source>保存照片信息失敗：</source>
        <translation>Saving the photo info failed: </translation>
    </message>
    <message>
        <source>照片信息文件已被其他程序修改：</source>
        <translation>Another program changed the photo-info file: </translation>
    </message>
    <message>
        <source>
是否覆蓋？</source>
        <translation>
Overwrite it?</translation>
    </message>
    <message>
        <source>照片信息已修改，是否保存？</source>
        <translation>The photo info has changed. Save it?</translation>
    </message>
    <message>
        <source>輸出圖片失敗：</source>
        <translation>Exporting the picture failed: </translation>
    </message>
    <message>
        <source>輸出圖片完畢</source>
        <translation>The picture was exported</translation>
    </message>
    <message>
        <source>測距儀已斷線，正在重新連接…</source>
        <translation>Range finder lost, reconnecting…</translation>
    </message>
    <message>
        <source>測距儀已連接</source>
        <translation>The range finder is connected</translation>
    </message>
    <message>
        <source>重新連接...</source>
        <translation>Reconnect...</translation>
    </message>
    <message>
        <source>無法連接測距儀，請確定已經連好接藍牙設備</source>
        <translation>Cannot connect to the range finder; please make sure the Bluetooth device is paired and on</translation>
    </message>
    <message>
        <source>連接測距儀</source>
        <translation>Connect meter</translation>
    </message>
    <message>
        <source>作為參考</source>
        <translation>As reference</translation>
    </message>
    <message>
        <source>輸出報告(&amp;R)</source>
        <translation>Export &amp;report</translation>
    </message>
    <message>
        <source>輸出報告完畢</source>
        <translation>The report was written</translation>
    </message>
    <message>
        <source>輸出報告失敗：</source>
        <translation>Writing the report failed: </translation>
    </message>
    <message>
        <source>最近的照片</source>
        <translation>Recent photos</translation>
    </message>
    <message>
        <source>（無）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>上一張圖片還在輸出，請等它完成後再輸出。</source>
        <translation>The previous picture is still being exported. Please wait until it has finished.</translation>
    </message>
    <message>
        <source>輸出圖片</source>
        <translation>Export picture</translation>
    </message>
    <message>
        <source>正在輸出圖片：%1</source>
        <translation>Exporting the picture: %1</translation>
    </message>
    <message>
        <source>輸出報告</source>
        <translation>Export report</translation>
    </message>
    <message>
        <source>正在輸出報告：%1</source>
        <translation>Writing the report: %1</translation>
    </message>
    <message>
        <source>上一份報告還在輸出，請等它完成後再輸出。</source>
        <translation>The previous report is still being written. Please wait until it has finished.</translation>
    </message>
    <message>
        <source>刪除（Alt+Delete）</source>
        <translation>Delete (Alt+Delete)</translation>
    </message>
    <message>
        <source>照片無法完整打開，對它所做的修改將會遺失。</source>
        <translation>The photo could not be opened in full: the changes made to it are lost.</translation>
    </message>
    <message>
        <source>面積</source>
        <translation>Area</translation>
    </message>
    <message>
        <source>上一張正視圖還在輸出，請等它完成後再輸出。</source>
        <translation>The previous head-on picture is still being written; please wait until it has finished.</translation>
    </message>
    <message>
        <source>輸出正視圖失敗：</source>
        <translation>Could not write the head-on picture: </translation>
    </message>
    <message>
        <source>輸出正視圖</source>
        <translation>Head-on picture</translation>
    </message>
    <message>
        <source>輸出正視圖完畢</source>
        <translation>The head-on picture has been written.</translation>
    </message>
    <message>
        <source>正在輸出正視圖：%1</source>
        <translation>Writing the head-on picture: %1</translation>
    </message>
    <message>
        <source>角度</source>
        <translation>Angle</translation>
    </message>
</context>
<context>
    <name>CPhotoCanvas</name>
    <message>
        <source>放大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>縮小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>實際大小</source>
        <translation>Actual size</translation>
    </message>
    <message>
        <source>自適應大小</source>
        <translation>Fit to window</translation>
    </message>
    <message>
        <source>所有尺寸字體</source>
        <translation>Font of all dimensions</translation>
    </message>
    <message>
        <source>所有尺寸顏色</source>
        <translation>Colour of all dimensions</translation>
    </message>
    <message>
        <source>復原(&amp;U)</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>重做(&amp;R)</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>參考平面(&amp;P)...</source>
        <translation>Reference &amp;plane...</translation>
    </message>
    <message>
        <source>刪除參考平面</source>
        <translation>Delete reference plane</translation>
    </message>
    <message>
        <source>寫入計算值</source>
        <translation>Write computed values</translation>
    </message>
    <message>
        <source>這樣四個角點不成凸四邊形，角點已放回原處。</source>
        <translation>These four corners would not make a convex quadrilateral; the corner was put back.</translation>
    </message>
    <message>
        <source>開口</source>
        <translation>Opening</translation>
    </message>
    <message>
        <source>輸出正視圖(&amp;V)...</source>
        <translation>Head-on &amp;view...</translation>
    </message>
    <message>
        <source>重新命名區域(&amp;N)...</source>
        <translation>Re&amp;name area...</translation>
    </message>
</context>
<context>
    <name>CRangeFinderPicker</name>
    <message>
        <source>文字行 (lines)</source>
        <translation>Text lines (lines)</translation>
    </message>
    <message>
        <source>Bosch GLM/PLR 序列 (bosch-spp)</source>
        <translation>Bosch GLM/PLR serial (bosch-spp)</translation>
    </message>
    <message>
        <source>Leica DISTO 序列 (leica-spp)</source>
        <translation>Leica DISTO serial (leica-spp)</translation>
    </message>
    <message>
        <source>Bosch GLM/PLR 低功耗 (bosch-ble)</source>
        <translation>Bosch GLM/PLR Low Energy (bosch-ble)</translation>
    </message>
    <message>
        <source>Leica DISTO 低功耗 (leica-ble)</source>
        <translation>Leica DISTO Low Energy (leica-ble)</translation>
    </message>
    <message>
        <source>選擇測距儀</source>
        <translation>Choose a range finder</translation>
    </message>
    <message>
        <source>重新搜尋(&amp;S)</source>
        <translation>&amp;Search again</translation>
    </message>
    <message>
        <source>連接</source>
        <translation>Connect</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>協定：</source>
        <translation>Protocol:</translation>
    </message>
    <message>
        <source>測距儀：</source>
        <translation>Range finders:</translation>
    </message>
    <message>
        <source>搜尋完成</source>
        <translation>Search finished</translation>
    </message>
    <message>
        <source>正在搜尋藍牙測距儀…</source>
        <translation>Searching for Bluetooth range finders…</translation>
    </message>
    <message>
        <source>記錄通訊內容</source>
        <translation>Record the communication</translation>
    </message>
</context>
<context>
    <name>Export</name>
    <message>
        <source>no photo is loaded</source>
        <translation>no photo is loaded</translation>
    </message>
    <message>
        <source>not enough memory for the picture</source>
        <translation>not enough memory for the picture</translation>
    </message>
    <message>
        <source>the file exists already (--force replaces it)</source>
        <translation>the file exists already (--force replaces it)</translation>
    </message>
    <message>
        <source>an earlier photo of the same name is written there</source>
        <translation>an earlier photo of the same name is written there</translation>
    </message>
    <message>
        <source>the photo has no reference plane</source>
        <translation>the photo has no reference plane</translation>
    </message>
</context>
<context>
    <name>PhotoReport</name>
    <message>
        <source>拍攝日期：</source>
        <translation>Taken: </translation>
    </message>
    <message>
        <source>報告日期：</source>
        <translation>Report date: </translation>
    </message>
    <message>
        <source>尺寸</source>
        <translation>Dimensions</translation>
    </message>
    <message>
        <source>編號</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>尺寸</source>
        <comment>column</comment>
        <translation>Dimension</translation>
    </message>
    <message>
        <source>顏色</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>長度（像素）</source>
        <translation>Length (pixels)</translation>
    </message>
    <message>
        <source>（無）</source>
        <translation>(none)</translation>
    </message>
    <message>
        <source>信息標注</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>標題</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>內容</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>參考平面：%1 × %2 mm</source>
        <translation>Reference plane: %1 × %2 mm</translation>
    </message>
    <message>
        <source>參考長度：第 %1 條尺寸，%2 mm</source>
        <translation>Reference length: dimension %1, %2 mm</translation>
    </message>
    <message>
        <source>參考：無</source>
        <translation>Reference: none</translation>
    </message>
    <message>
        <source>（未命名）</source>
        <translation>(unnamed)</translation>
    </message>
    <message>
        <source>參考平面</source>
        <translation>reference plane</translation>
    </message>
    <message>
        <source>參考長度（正對相機）</source>
        <translation>reference length (facing the camera)</translation>
    </message>
    <message>
        <source>照片上的角度</source>
        <translation>angle on the photo</translation>
    </message>
    <message>
        <source>無參考</source>
        <translation>no reference</translation>
    </message>
    <message>
        <source>面積</source>
        <translation>Areas</translation>
    </message>
    <message>
        <source>名稱</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>開口</source>
        <translation>Opening</translation>
    </message>
    <message>
        <source>毛面積（m²）</source>
        <translation>Gross (m²)</translation>
    </message>
    <message>
        <source>開口面積（m²）</source>
        <translation>Openings (m²)</translation>
    </message>
    <message>
        <source>淨面積（m²）</source>
        <translation>Net (m²)</translation>
    </message>
    <message>
        <source>±（m²）</source>
        <translation>± (m²)</translation>
    </message>
    <message>
        <source>周長（m）</source>
        <translation>Perimeter (m)</translation>
    </message>
    <message>
        <source>是</source>
        <translation>yes</translation>
    </message>
    <message>
        <source>否</source>
        <translation>no</translation>
    </message>
    <message>
        <source>角度</source>
        <translation>Angles</translation>
    </message>
    <message>
        <source>角度（°）</source>
        <translation>Angle (°)</translation>
    </message>
    <message>
        <source>±（°）</source>
        <translation>± (°)</translation>
    </message>
    <message>
        <source>依據</source>
        <translation>Measured by</translation>
    </message>
    <message>
        <source>總面積</source>
        <translation>Total area</translation>
    </message>
    <message>
        <source>面積數</source>
        <translation>Areas</translation>
    </message>
    <message>
        <source>開口、未命名及無數值的面積不計入總面積。</source>
        <translation>Openings, unnamed areas and areas without a value are not counted in the totals.</translation>
    </message>
</context>
<context>
    <name>PlaneSizeDialog</name>
    <message>
        <source>參考平面</source>
        <translation>Reference plane</translation>
    </message>
    <message>
        <source>矩形的實際大小（毫米）。寬度沿照片上較接近水平的一對邊。</source>
        <translation>The rectangle&apos;s real size (mm). The width runs along the pair of sides nearer the horizontal in the photo.</translation>
    </message>
    <message>
        <source>寬度(&amp;W)：</source>
        <translation>&amp;Width:</translation>
    </message>
    <message>
        <source>高度(&amp;H)：</source>
        <translation>&amp;Height:</translation>
    </message>
</context>
<context>
    <name>QtGattClient</name>
    <message>
        <source>藍牙服務出錯</source>
        <translation>Bluetooth service error</translation>
    </message>
</context>
<context>
    <name>RangeFailure</name>
    <message>
        <source>測距儀未能測量，請再試一次。</source>
        <translation>The range finder could not measure; please try again.</translation>
    </message>
    <message>
        <source>測距儀報告硬件錯誤，沒有讀數。</source>
        <translation>The range finder reports a hardware error; no reading.</translation>
    </message>
    <message>
        <source>測距儀尚未就緒，沒有讀數。</source>
        <translation>The range finder is not ready; no reading.</translation>
    </message>
    <message>
        <source>測距儀拒絕了請求，沒有讀數。</source>
        <translation>The range finder refused the request; no reading.</translation>
    </message>
    <message>
        <source>測距儀沒有回答，沒有讀數。</source>
        <translation>The range finder did not answer; no reading.</translation>
    </message>
    <message>
        <source>收到不完整的資料，已丟棄。</source>
        <translation>Incomplete data from the range finder was dropped.</translation>
    </message>
    <message>
        <source>測距儀的單位無法換算成毫米，讀數已略過。</source>
        <translation>The range finder&apos;s unit cannot be converted to millimetres; the reading was skipped.</translation>
    </message>
    <message>
        <source>讀數無法完整寫入尺寸，已略過。</source>
        <translation>The reading does not fit a dimension whole; it was skipped.</translation>
    </message>
</context>
<context>
    <name>RangeFinder</name>
    <message>
        <source>未知的測距儀協定：%1（可用：%2）</source>
        <translation>Unknown range finder protocol: %1 (available: %2)</translation>
    </message>
    <message>
        <source>正在連接測距儀…</source>
        <translation>Connecting to the range finder…</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>測距儀沒有回應</source>
        <translation>The range finder does not answer</translation>
    </message>
</context>
<context>
    <name>RangeMeterList</name>
    <message>
        <source>序列埠</source>
        <translation>serial port</translation>
    </message>
    <message>
        <source>藍牙</source>
        <translation>Bluetooth</translation>
    </message>
    <message>
        <source>藍牙低功耗</source>
        <translation>Bluetooth Low Energy</translation>
    </message>
    <message>
        <source>上次使用</source>
        <translation>last used</translation>
    </message>
</context>
<context>
    <name>ReferenceLength</name>
    <message>
        <source>只有數值（毫米）大於零的尺寸才能作為參考。</source>
        <translation>Only a dimension whose value (in millimetres) is above zero can be the reference.</translation>
    </message>
    <message>
        <source>這個尺寸的兩端在同一點，長度為零，不能作為參考。</source>
        <translation>Both ends of this dimension are on one point; its length is zero, so it cannot be the reference.</translation>
    </message>
</context>
<context>
    <name>ReferencePlane</name>
    <message>
        <source>兩個角點在同一處：請點選矩形的四個不同角。</source>
        <translation>Two corners are on the same spot: please click the four different corners of the rectangle.</translation>
    </message>
    <message>
        <source>三個角點在一直線上：這不是一個矩形的四個角。</source>
        <translation>Three corners are on one line: these are not the four corners of a rectangle.</translation>
    </message>
    <message>
        <source>四個角點不成凸四邊形：這不是一個矩形的四個角。</source>
        <translation>The four corners do not make a convex quadrilateral: these are not the four corners of a rectangle.</translation>
    </message>
</context>
<context>
    <name>ScaleBar</name>
    <message>
        <source>%1 mm</source>
        <translation>%1 mm</translation>
    </message>
</context>
<context>
    <name>ShapeMeasure</name>
    <message>
        <source>(%1 坪)</source>
        <translation>(%1 ping)</translation>
    </message>
    <message numerus="yes">
        <source>扣除開口 %n</source>
        <translation>
            <numerusform>less %n opening</numerusform>
            <numerusform>less %n openings</numerusform>
        </translation>
    </message>
    <message>
        <source>(正對相機)</source>
        <translation>(facing the camera)</translation>
    </message>
    <message>
        <source>畫面角 %1°</source>
        <translation>picture angle %1°</translation>
    </message>
</context>
<context>
    <name>SppTransport</name>
    <message>
        <source>不是藍牙地址：%1</source>
        <translation>Not a Bluetooth address: %1</translation>
    </message>
    <message>
        <source>測距儀中斷了連線</source>
        <translation>The range finder dropped the connection</translation>
    </message>
</context>
<context>
    <name>TelvoComm</name>
    <message>
        <source>未知的測距儀協定：%1</source>
        <translation>Unknown range finder protocol: %1</translation>
    </message>
    <message>
        <source>沒有指定測距儀的序列埠</source>
        <translation>No serial port was given for the range finder</translation>
    </message>
</context>
</TS>
