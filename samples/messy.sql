CREATE OR REPLACE PACKAGE BODY billing AS   


  PROCEDURE close_month(p_month IN DATE) IS  
	l_count		PLS_INTEGER;
	l_note		VARCHAR2(40) := 'closed:	OK';  
  BEGIN	
	UPDATE invoices   
	   SET status = 'CLOSED'


	 WHERE period = p_month;    
  END close_month;

END billing;  
/
